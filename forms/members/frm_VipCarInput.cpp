#include "frm_VipCarInput.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "datasource.h"
#include "dbchecks.h"
#include "grid.h"
#include "pastedrows.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "sqlquote.h"
#include "styles.h"

using namespace md::ui;

namespace {

struct ImportColumn {
    const char* field;
    const char* caption;
    int size;  // characters; 0 for dates and the points
    int width;
};

// The import layout: the order pasted cells fill.
const ImportColumn kColumns[] = {{"vipid", "VIP卡号", 30, 100},
                                 {"name", "VIP姓名", 50, 80},
                                 {"begindate", "生效日期", 0, 86},
                                 {"enddate", "失效日期", 0, 86},
                                 {"groupname", "VIP类别", 50, 80},
                                 {"clientAbbrev", "所属店铺", 50, 110},
                                 {"amount", "积分", 0, 60},
                                 {"sex", "性别", 10, 44},
                                 {"IDCard", "身份证号码", 50, 150},
                                 {"birthdate", "出生日期", 0, 86},
                                 {"mobiletel", "手机号", 30, 100},
                                 {"tel", "电话号码", 50, 100},
                                 {"officetel", "办公电话", 50, 100},
                                 {"email", "电子邮箱", 50, 140},
                                 {"address", "地址", 100, 200},
                                 {"zipcode", "邮编", 20, 60},
                                 {"FrockSize", "上衣尺寸", 30, 64},
                                 {"WaistLine", "腰围", 30, 50},
                                 {"DownSize", "裤长", 30, 50},
                                 {"Height", "身高", 30, 50},
                                 {"Weight", "体重", 30, 50},
                                 {"ShoeSize", "鞋码", 30, 50},
                                 {"fInputRemark", "导入说明", 50, 160}};

const QString kDuplicate = QStringLiteral("VIP卡号已存在");

QString folded(const QString& text) {
    return text.trimmed().toCaseFolded();
}

QString text(const TRemoteUdpDataSet& row, const char* field) {
    return row.FieldByName(QString::fromLatin1(field)).AsString().trimmed();
}

}  // namespace

Tfrm_VipCarInput::Tfrm_VipCarInput(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_VipCarInput"));
    setWindowTitle(QStringLiteral("VIP档案导入"));
    // Kept by the member window between uses, with the rows not imported yet.
    KeepOnClose();
    DBviplb = new TRemoteUdpDataSet(QStringLiteral("DBviplb"), this);
    DBclient = new TRemoteUdpDataSet(QStringLiteral("DBclient"), this);
    DBImport_table = new TRemoteUdpDataSet(QStringLiteral("DBImport_table"), this);
    for (const ImportColumn& c : kColumns)
        DBImport_table->AddField(QString::fromLatin1(c.field), ftString, c.size > 0 ? c.size : 30);
    DBImport_table->AddField(QStringLiteral("clientid"), ftString, 30);
    DBImport_table->AddField(QStringLiteral("vipgrade"), ftString, 30);
    DbImport_Source = new TDataSource(QStringLiteral("DbImport_Source"), this);
    DbImport_Source->setDataSet(DBImport_table);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbImport_Source);
    // What the check found comes first on screen, where it is seen; pasted
    // cells fill the layout's columns after it.
    v->AddColumn(QStringLiteral("fInputRemark"), QStringLiteral("导入说明"))
        .width(170)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("合计"));
    for (const ImportColumn& c : kColumns)
        if (qstrcmp(c.field, "fInputRemark") != 0)
            v->AddColumn(QString::fromLatin1(c.field), QString::fromUtf8(c.caption)).width(c.width);
    v->Column(QStringLiteral("vipid"))->footer(TSummaryKind::Count, QStringLiteral("0"));
    v->Column(QStringLiteral("sex"))->valueList({QStringLiteral("男"), QStringLiteral("女")}, true);
    v->AddColumn(QStringLiteral("clientid"), QStringLiteral("店铺编号")).hidden();
    v->AddColumn(QStringLiteral("vipgrade"), QStringLiteral("类别编号")).hidden();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Clipboard = true;
    options.MultiSelect = true;
    options.GoToNextCellOnEnter = true;
    v->ApplyOptions();
    v->SetInputAllowed(true);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(cxGrid1DBTableView1->viewport()->mapToGlobal(at));
    });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const char* caption, const QKeySequence& keys,
                       std::function<void()> handler) {
        QAction* a =
            NewAction(QString::fromLatin1(name), QString::fromUtf8(caption), std::move(handler));
        if (!keys.isEmpty()) a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetShortcut);  // the keys themselves go to the grid
        PopupMenu1->addAction(a);
        return a;
    };
    copy_action = item("copy_action", "复制", QKeySequence::Copy, [this] { copyRows(); });
    paste_action = item("paste_action", "粘贴", QKeySequence::Paste,
                        [this] { PasteText(QApplication::clipboard()->text()); });
    delete_action = item("delete_action", "删除", {}, [this] { deleteSelectedRows(); });
    selectall_action = item("selectall_action", "全选", QKeySequence::SelectAll,
                            [this] { cxGrid1DBTableView1->selectAll(); });

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    auto button = [this](const char* name, const char* caption, std::function<void()> handler) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);  // Enter belongs to the grid
        b->setMinimumWidth(88);
        OnClick(b, std::move(handler));
        return b;
    };
    But_Check = button("But_Check", "数据核查", [this] { But_CheckClick(); });
    But_OK = button("But_OK", "确定", [this] { But_OKClick(); });
    But_Cancel = button("But_Cancel", "取消", [this] { But_CancelClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addSpacing(12);
    for (QPushButton* b : {But_Check, But_OK, But_Cancel}) bottom->addWidget(b);
    layout->addLayout(bottom);
    resize(1000, 560);
}

void Tfrm_VipCarInput::FormCreate() {
    Tbase_frm::FormCreate();
    ApplySharedColours(this);
    DBImport_table->CreateDataSet();
}

void Tfrm_VipCarInput::FormShow() {
    Tbase_frm::FormShow();
    cxGrid1DBTableView1->setFocus();
}

bool Tfrm_VipCarInput::FormCloseQuery() {
    if (DBImport_table->Active() && !DBImport_table->IsEmpty() &&
        !AskYesNo(QStringLiteral("是否确认退出此界面?")))
        return false;
    return Tbase_frm::FormCloseQuery();
}

bool Tfrm_VipCarInput::FormKeyPress(QKeyEvent& event) {
    // Pasting into the grid (not into an open cell editor) reads whole rows.
    if (event.matches(QKeySequence::Paste) && QApplication::focusWidget() == cxGrid1DBTableView1) {
        Run([this] { PasteText(QApplication::clipboard()->text()); });
        return true;
    }
    if (event.matches(QKeySequence::Copy) && QApplication::focusWidget() == cxGrid1DBTableView1) {
        Run([this] { copyRows(); });
        return true;
    }
    return Tbase_frm::FormKeyPress(event);
}

// ---------------------------------------------------------------- the rows

void Tfrm_VipCarInput::PasteText(const QString& pasted) {
    const QList<QStringList> rows = md::ParsePastedRows(pasted);
    if (rows.isEmpty()) return;
    TRemoteUdpDataSet& ds = *DBImport_table;
    ds.CheckBrowseMode();
    // The cells fill the layout's columns from the current one on.
    QList<TField*> fields;
    for (const ImportColumn& c : kColumns)
        if (qstrcmp(c.field, "fInputRemark") != 0)
            fields << &ds.FieldByName(QString::fromLatin1(c.field));
    TDBTableView* v = cxGrid1DBTableView1;
    const QModelIndex at = v->currentIndex();
    qsizetype firstField = 0;
    if (at.isValid())
        if (const TGridColumn* column = v->ColumnOfSection(at.column()))
            firstField =
                std::max<qsizetype>(0, fields.indexOf(&ds.FieldByName(column->FieldName())));
    int recNo = at.isValid() && !ds.IsEmpty() ? ds.RecNo() : ds.RecordCount() + 1;
    {
        TControlsDisabled still(ds);
        for (const QStringList& cells : rows) {
            if (recNo > ds.RecordCount()) {
                ds.Append();
            } else {
                ds.SetRecNo(recNo);
                ds.Edit();
            }
            for (qsizetype i = 0; i < cells.size() && firstField + i < fields.size(); ++i) {
                const QString cell = cells.at(i).trimmed();
                TField& field = *fields.at(firstField + i);
                if (cell.isEmpty())
                    field.Clear();
                else
                    field.SetAsString(cell);
            }
            ds.Post();
            ++recNo;
        }
        // The rows are the grid's own, not changes to send anywhere.
        ds.MergeChangeLog();
    }
}

void Tfrm_VipCarInput::copyRows() {
    // In the layout's order, so that the rows can be pasted back as they are.
    TRemoteUdpDataSet& ds = *DBImport_table;
    if (ds.IsEmpty()) return;
    QList<int> rows;
    if (QItemSelectionModel* selection = cxGrid1DBTableView1->selectionModel())
        for (const QModelIndex& index : selection->selectedRows()) rows << index.row();
    if (rows.isEmpty()) rows << ds.RecNo() - 1;
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows) {
        QStringList cells;
        for (const ImportColumn& c : kColumns)
            cells
                << ds.valueAt(row, ds.FieldByName(QString::fromLatin1(c.field)).Index()).toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void Tfrm_VipCarInput::deleteSelectedRows() {
    TRemoteUdpDataSet& ds = *DBImport_table;
    if (ds.IsEmpty()) return;
    ds.CheckBrowseMode();
    QList<int> rows;
    if (QItemSelectionModel* selection = cxGrid1DBTableView1->selectionModel())
        for (const QModelIndex& index : selection->selectedRows()) rows << index.row();
    if (rows.isEmpty()) rows << ds.RecNo() - 1;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    TControlsDisabled still(ds);
    for (int row : rows) {
        ds.SetRecNo(row + 1);
        ds.Delete();
    }
    ds.MergeChangeLog();
}

// ---------------------------------------------------------------- the check

QString Tfrm_VipCarInput::ImportDate(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format : {"yyyy-MM-dd", "yyyy/M/d", "yyyyMMdd", "yyyy-M-d"}) {
        const QDate date = QDate::fromString(t, QString::fromLatin1(format));
        if (date.isValid()) return date.toString(QStringLiteral("yyyy-MM-dd"));
    }
    // A date cell that was already stored with a time of day.
    const QDate date = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    if (date.isValid() && t.size() > 10 && t.at(10) == QLatin1Char(' '))
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    return QString();
}

Tfrm_VipCarInput::Lookups Tfrm_VipCarInput::readLookups() {
    md::OpenQuery(*DBviplb, QStringLiteral("select * from ba_viplb"));
    md::OpenQuery(*DBclient, QStringLiteral("select fcode,fabbrev,fname from dt_client"));
    Lookups lookups;
    // The first row of a name wins, as a search from the top would find it.
    auto fill = [](QHash<QString, QString>& map, const TRemoteUdpDataSet& list, const char* key,
                   const char* value) {
        const int k = list.FieldByName(QString::fromLatin1(key)).Index();
        const int v = list.FieldByName(QString::fromLatin1(value)).Index();
        for (int row = 0; row < list.RecordCount(); ++row) {
            const QString name = folded(list.valueAt(row, k).toString());
            if (!name.isEmpty() && !map.contains(name))
                map.insert(name, list.valueAt(row, v).toString());
        }
    };
    fill(lookups.gradeByName, *DBviplb, "viplbname", "viplbid");
    fill(lookups.shopByAbbrev, *DBclient, "fabbrev", "fcode");
    fill(lookups.shopByName, *DBclient, "fname", "fcode");
    return lookups;
}

void Tfrm_VipCarInput::dropEmptyLastRow() {
    TRemoteUdpDataSet& ds = *DBImport_table;
    ds.CheckBrowseMode();
    if (ds.IsEmpty()) return;
    ds.Last();
    if (text(ds, "vipid").isEmpty()) {
        ds.Delete();
        ds.MergeChangeLog();
    }
}

bool Tfrm_VipCarInput::checkRow(const Lookups& lookups) {
    TRemoteUdpDataSet& ds = *DBImport_table;
    ds.Edit();
    TField& remark = ds.FieldByName(QStringLiteral("fInputRemark"));
    auto fail = [&](const QString& message) {
        remark.SetAsString(message);
        ds.Post();
        return false;
    };
    // What makes a row meaningless: the first one ends its check.
    const struct {
        const char* field;
        const char* message;
    } required[] = {{"vipid", "VIP卡号不能不空"},
                    {"name", "VIP姓名不能为空"},
                    {"begindate", "生效日期不能为空"},
                    {"enddate", "失效日期不能为空"},
                    {"groupname", "VIP类别不能为空"}};
    for (const auto& r : required)
        if (text(ds, r.field).isEmpty()) return fail(QString::fromUtf8(r.message));

    // What the table could not store: also the end of the check.
    for (const char* field : {"begindate", "enddate", "birthdate"}) {
        const QString typed = text(ds, field);
        if (typed.isEmpty()) continue;
        const QString date = ImportDate(typed);
        const QString caption = cxGrid1DBTableView1->Column(QString::fromLatin1(field))->Caption();
        if (date.isEmpty())
            return fail(caption + QStringLiteral("“") + typed + QStringLiteral("”不是有效的日期"));
        ds.FieldByName(QString::fromLatin1(field)).SetAsString(date);
    }
    const QString points = text(ds, "amount");
    if (!points.isEmpty()) {
        bool ok = false;
        const double value = points.toDouble(&ok);
        if (!ok || value > 2147483647.0 || value < -2147483648.0)
            return fail(QStringLiteral("积分“") + points + QStringLiteral("”不是有效的数字"));
    }
    for (const ImportColumn& c : kColumns) {
        const QString value = text(ds, c.field);
        if (c.size > 0 && value.size() > c.size && qstrcmp(c.field, "fInputRemark") != 0)
            return fail(QString::fromUtf8(c.caption) + QStringLiteral("超过%1个字符").arg(c.size));
    }

    // The looked-up values: each failure marks the row, the later message wins.
    QString message;
    TField& grade = ds.FieldByName(QStringLiteral("vipgrade"));
    const auto gradeAt = lookups.gradeByName.constFind(folded(text(ds, "groupname")));
    if (gradeAt != lookups.gradeByName.constEnd()) {
        grade.SetAsString(gradeAt.value());
    } else {
        grade.Clear();
        message = QStringLiteral("VIP类别不存在");
    }
    TField& shop = ds.FieldByName(QStringLiteral("clientid"));
    const QString shopText = folded(text(ds, "clientAbbrev"));
    shop.Clear();
    if (!shopText.isEmpty()) {
        // The short name first, then the full name.
        QString code = lookups.shopByAbbrev.value(shopText);
        if (code.isEmpty()) code = lookups.shopByName.value(shopText);
        if (!code.isEmpty())
            shop.SetAsString(code);
        else
            message = QStringLiteral("所属店铺不存在");
    }
    if (md::ui::QueryReturnsRow(QStringLiteral("select top 1 vipid from dt_vipcard where vipid='") +
                                SqlText(text(ds, "vipid")) + QStringLiteral("'")))
        message = kDuplicate;
    if (!message.isEmpty()) return fail(message);
    remark.Clear();
    ds.Post();
    return true;
}

QString Tfrm_VipCarInput::InsertStatement() const {
    const TRemoteUdpDataSet& ds = *DBImport_table;
    auto quoted = [&ds](const char* field) { return QuotedStr(text(ds, field)); };
    // An empty birth date stays empty rather than becoming a date.
    const QString birth = text(ds, "birthdate");
    const QString points = text(ds, "amount");
    const qint64 amount = points.isEmpty() ? 0 : qRound64(points.toDouble());
    const QStringList values = {
        quoted("vipid"),     quoted("name"),
        quoted("begindate"), quoted("enddate"),
        quoted("sex"),       birth.isEmpty() ? QStringLiteral("null") : QuotedStr(birth),
        quoted("groupname"), quoted("vipgrade"),
        quoted("clientid"),  QString::number(amount),
        quoted("mobiletel"), quoted("tel"),
        quoted("officetel"), quoted("email"),
        quoted("address"),   quoted("zipcode"),
        quoted("IDCard"),    quoted("Height"),
        quoted("Weight"),    quoted("ShoeSize"),
        quoted("FrockSize"), quoted("DownSize"),
        quoted("WaistLine")};
    return QStringLiteral(
               "insert into dt_vipcard(vipid,name,begaindate,enddate,sex,birthdate,groupname,"
               "vipgrade,clientid,amount,mobiletel,tel,officetel,email,address,zipcode,IDcard,"
               "height,weight,shoesize,frocksize,downsize,waistline)") +
           QLatin1Char('\r') + QStringLiteral("values(") + values.join(QLatin1Char(',')) +
           QLatin1Char(')');
}

// ---------------------------------------------------------------- buttons

void Tfrm_VipCarInput::But_CheckClick() {
    dropEmptyLastRow();
    const Lookups lookups = readLookups();
    TRemoteUdpDataSet& ds = *DBImport_table;
    TBookmarkKept at(ds);
    QElapsedTimer clock;
    clock.start();
    for (int recNo = 1; recNo <= ds.RecordCount(); ++recNo) {
        ds.SetRecNo(recNo);
        checkRow(lookups);
        if (clock.elapsed() >= 100) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            clock.restart();
        }
    }
    ds.MergeChangeLog();
}

void Tfrm_VipCarInput::But_OKClick() {
    if (!AskYesNo(QStringLiteral("确定前请按《数据核查》进行判断，是否确认导入VIP档案?"))) return;
    dropEmptyLastRow();
    const Lookups lookups = readLookups();
    TRemoteUdpDataSet& ds = *DBImport_table;
    ProgressBar1->setRange(0, qMax(1, ds.RecordCount()));
    ProgressBar1->setValue(0);
    struct ResetBar {
        QProgressBar* bar;
        ~ResetBar() { bar->setValue(0); }
    } resetBar{ProgressBar1};
    struct KeepNoLog {
        TRemoteUdpDataSet& ds;
        ~KeepNoLog() {
            if (ds.Active()) ds.MergeChangeLog();
        }
    } keepNoLog{ds};
    QElapsedTimer clock;
    clock.start();
    int walked = 0;
    int recNo = 1;
    while (recNo <= ds.RecordCount()) {
        ds.SetRecNo(recNo);
        ++walked;
        if (checkRow(lookups)) {
            md::ExecuteSQL(InsertStatement());
            ds.Delete();  // imported: the next row moves up
        } else {
            ++recNo;
        }
        if (clock.elapsed() >= 100) {
            ProgressBar1->setValue(walked);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            clock.restart();
        }
    }
    ProgressBar1->setValue(ProgressBar1->maximum());
    if (!ds.IsEmpty()) {
        ds.First();
        MessageBox(QStringLiteral("尚有部分数据不能导入!"));
        return;
    }
    done(QDialog::Accepted);
}

void Tfrm_VipCarInput::But_CancelClick() {
    done(QDialog::Rejected);
}
