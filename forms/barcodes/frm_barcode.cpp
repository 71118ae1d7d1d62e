#include "frm_barcode.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "barcodes/frm_barcodeAdd.h"
#include "checktree.h"
#include "editors.h"
#include "formfactory.h"
#include "goodsattributefilter.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "reportprint.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"
#include "styles.h"
#include "waitcursor.h"

using namespace md::ui;

namespace {

const QString kFieldPrintSize = QStringLiteral("打印尺码");
const QString kFieldPrintColour = QStringLiteral("打印颜色编号");

// The progress bar under the grid shows while a loop runs over the rows.
struct ProgressShown {
    ProgressShown(QProgressBar* bar, int maximum) : m_bar(bar) {
        m_bar->setRange(0, qMax(1, maximum));
        m_bar->setValue(0);
        m_bar->setVisible(true);
    }
    ~ProgressShown() { m_bar->setVisible(false); }
    QProgressBar* m_bar;
};

void requireRight(bool right) {
    if (!right) Refuse(QStringLiteral("您没有足够的权限进行此操作!"));
}

// A variant as the messages name it: goods/colour/size.
QString variantText(const QString& goods, const QString& colour, const QString& size) {
    return goods.trimmed() + QLatin1Char('/') + colour.trimmed() + QLatin1Char('/') +
           size.trimmed();
}

// Codes and variants compare as the database compares them: case and trailing
// blanks do not count.
QString sameKey(const QString& text) {
    QString key = text.toCaseFolded();
    while (key.endsWith(QLatin1Char(' '))) key.chop(1);
    return key;
}

}  // namespace

Tfrm_barcode::Tfrm_barcode(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_barcode"));
    setWindowTitle(QStringLiteral("条形码资料"));
    DBmaster_table->SetSQL(QStringLiteral("select * from barcode"));

    wizard_action = NewAction(QStringLiteral("wizard_action"), QStringLiteral("生成向导"),
                              [this] { wizard_actionExecute(); });
    wizard_action->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    batchprint_action = NewAction(QStringLiteral("batchprint_action"), QStringLiteral("批量打印"),
                                  [this] { batchprint_actionExecute(); });
    batchprint_action->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
    clearcode2_action =
        NewAction(QStringLiteral("clearcode2_action"), QStringLiteral("清空条形码2"),
                  [this] { clearcode2_actionExecute(); });
    nationalcode_action =
        NewAction(QStringLiteral("nationalcode_action"), QStringLiteral("生成国标码"),
                  [this] { nationalcode_actionExecute(); });
    ShowActions({print_action});
    HideActions({first_action, prio_action, next_action, last_action, find_action});
    SetToolbar({append_action, edit_action, post_action, cacel_action, del_action, print_action,
                wizard_action, batchprint_action, excel_action, close_action});

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* splitter = new QSplitter(Qt::Horizontal, ClientPanel);
    layout->addWidget(splitter, 1);
    auto* filter = new QWidget(splitter);
    buildFilterPanel(filter);
    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    buildGrid(right);
    rightLayout->addWidget(cxGrid1, 1);
    buildBatchBar(right);
    splitter->addWidget(filter);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 820});
    resize(1040, 620);
}

void Tfrm_barcode::buildFilterPanel(QWidget* parent) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    CheckTree1 = new TCheckTree(parent, QStringLiteral("CheckTree1"));
    layout->addWidget(CheckTree1, 1);
    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("货号:"), parent), 0, 0);
    Edit_GoodsId = new QLineEdit(parent);
    Edit_GoodsId->setObjectName(QStringLiteral("Edit_GoodsId"));
    Edit_GoodsId->setValidator(new TUpperCaseValidator(Edit_GoodsId));
    boxes->addWidget(Edit_GoodsId, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("尺码:"), parent), 1, 0);
    Edit_Size = new QLineEdit(parent);
    Edit_Size->setObjectName(QStringLiteral("Edit_Size"));
    boxes->addWidget(Edit_Size, 1, 1);
    layout->addLayout(boxes);
    But_Filter = new QPushButton(QStringLiteral("检索过滤"), parent);
    But_Filter->setObjectName(QStringLiteral("But_Filter"));
    But_Filter->setAutoDefault(false);
    layout->addWidget(But_Filter);
    OnClick(But_Filter, [this] { But_FilterClick(); });
    // Enter searches from either box, but only with a goods code to narrow the rows.
    for (QLineEdit* box : {Edit_GoodsId, Edit_Size})
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (!Edit_GoodsId->text().isEmpty()) Run([this] { But_FilterClick(); });
        });
}

void Tfrm_barcode::buildGrid(QWidget* parent) {
    cxGrid1 = new TDBGrid(parent, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fcheck"), QStringLiteral("选择")).width(44).checkBox();
    v->AddColumn(QStringLiteral("fgoodsid"), QStringLiteral("货号"))
        .width(110)
        .upperCase()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色编号")).width(70).upperCase();
    v->AddColumn(QStringLiteral("fsize"), QStringLiteral("尺码")).width(60);
    v->AddColumn(QStringLiteral("fbarcode1"), QStringLiteral("条形码1")).width(150);
    v->AddColumn(QStringLiteral("fbarcode2"), QStringLiteral("条形码2")).width(130);
    v->AddColumn(QStringLiteral("fprintsize"), QStringLiteral("打印尺码")).width(70);
    v->AddColumn(QStringLiteral("fprintcolorid"), QStringLiteral("打印颜色编号")).width(90);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.MultiSelect = true;
    options.Appending = true;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(clearcode2_action);
    PopupMenu1->addAction(nationalcode_action);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(cxGrid1DBTableView1->viewport()->mapToGlobal(at));
    });
}

void Tfrm_barcode::buildBatchBar(QWidget* parent) {
    auto* bar = new QHBoxLayout;
    Check_All = new QCheckBox(QStringLiteral("全选"), parent);
    Check_All->setObjectName(QStringLiteral("Check_All"));
    bar->addWidget(Check_All);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(QStringLiteral("将所选择条码的"), parent));
    Combo_Field = new QComboBox(parent);
    Combo_Field->setObjectName(QStringLiteral("Combo_Field"));
    Combo_Field->setEditable(true);
    Combo_Field->addItems({kFieldPrintSize, kFieldPrintColour});
    Combo_Field->setCurrentIndex(-1);
    Combo_Field->setMinimumWidth(120);
    bar->addWidget(Combo_Field);
    bar->addWidget(new QLabel(QStringLiteral("改为"), parent));
    Edit_Value = new QLineEdit(parent);
    Edit_Value->setObjectName(QStringLiteral("Edit_Value"));
    bar->addWidget(Edit_Value);
    But_FieldOK = new QPushButton(QStringLiteral("确定"), parent);
    But_FieldOK->setObjectName(QStringLiteral("But_FieldOK"));
    But_FieldOK->setAutoDefault(false);
    bar->addWidget(But_FieldOK);
    bar->addSpacing(16);
    ProgressBar1 = new QProgressBar(parent);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);
    bar->addWidget(ProgressBar1, 1);
    bar->addStretch(0);
    static_cast<QVBoxLayout*>(parent->layout())->addLayout(bar);
    OnClick(Check_All, [this] { Check_AllClick(); });
    OnClick(But_FieldOK, [this] { But_FieldOKClick(); });
}

// ---------------------------------------------------------------- create and state

void Tfrm_barcode::FormCreate() {
    Tbase_frmMdi::FormCreate();
    ApplySharedColours(this);
    FillGoodsAttributeTree(*CheckTree1);
    // The grid is empty until a search, but it has its columns and takes new rows.
    openGrid(QStringLiteral("select * from barcode where 1=2"));
}

void Tfrm_barcode::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    const bool editing = Editing();
    wizard_action->setEnabled(!editing && RightAdd);
    batchprint_action->setEnabled(!editing && RightPrint);
    clearcode2_action->setEnabled(!editing && RightEdit);
    nationalcode_action->setEnabled(!editing && RightEdit);
}

void Tfrm_barcode::openGrid(const QString& sql) {
    TControlsDisabled still(*DBmaster_table);
    DBmaster_table->Close();
    DBmaster_table->SetSQL(sql);
    DBmaster_table->Open();
    DBmaster_table->First();
}

void Tfrm_barcode::sendPendingChanges() {
    if (!DBmaster_table->Active()) return;
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    if (DBmaster_table->UpdatesPending()) sendChanges();
}

// ---------------------------------------------------------------- search and marks

QString Tfrm_barcode::SearchSQL(const QString& condition, const QString& codeText,
                                const QString& sizeText) {
    QString c = condition;
    if (!codeText.isEmpty())
        c += (c.isEmpty() ? QStringLiteral(" goodsid like ")
                          : QStringLiteral(" and goodsid like ")) +
             QStringLiteral("'%") + SqlText(codeText) + QStringLiteral("%'");
    // The size stands inside the goods subquery; there fsize is the outer barcode row's.
    if (!sizeText.isEmpty())
        c += (c.isEmpty() ? QStringLiteral(" fsize=") : QStringLiteral(" and fsize =")) +
             QStringLiteral("'") + SqlText(sizeText) + QStringLiteral("'");
    QString sql = QStringLiteral("select * from barcode where 1=1 ");
    if (!c.isEmpty())
        sql += QLatin1Char('\n') +
               QStringLiteral(" and fgoodsid in(select goodsid from goods where 1=1 and ") + c +
               QStringLiteral(")");
    return sql;
}

void Tfrm_barcode::But_FilterClick() {
    sendPendingChanges();
    md::ExecuteSQL(QStringLiteral("update barcode set fcheck=0"));
    const QString sql =
        SearchSQL(GoodsAttributeCondition(*CheckTree1), Edit_GoodsId->text(), Edit_Size->text());
    {
        TWaitCursor wait;
        openGrid(sql);
    }
    UpdateActionState();
}

void Tfrm_barcode::Check_AllClick() {
    if (!DBmaster_table->Active()) return;
    const bool on = Check_All->isChecked();
    DBmaster_table->CheckBrowseMode();
    {
        TControlsDisabled still(*DBmaster_table);
        TField& check = DBmaster_table->FieldByName(QStringLiteral("fcheck"));
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next()) {
            DBmaster_table->Edit();
            check.SetAsBoolean(on);
            DBmaster_table->Post();
        }
    }
    // After the grid has taken the rows again, so it follows to the first.
    DBmaster_table->First();
}

void Tfrm_barcode::But_FieldOKClick() {
    requireRight(RightEdit);
    const QString chosen = Combo_Field->currentText().trimmed();
    if (chosen.isEmpty()) {
        MessageBox(QStringLiteral("请选择货品属性!"));
        Combo_Field->setFocus();
        Abort();
    }
    const QString value = Edit_Value->text();
    if (value.isEmpty()) {
        MessageBox(QStringLiteral("请输入要更改的值!"));
        Edit_Value->setFocus();
        Abort();
    }
    QString column;
    if (chosen == kFieldPrintSize)
        column = QStringLiteral("fprintsize");
    else if (chosen == kFieldPrintColour)
        column = QStringLiteral("fprintcolorid");
    else
        Refuse(QStringLiteral("没有找到对应的数据库字段!"));
    if (!AskYesNo(QStringLiteral("是否确认更改?"))) Abort();
    if (!DBmaster_table->Active()) return;

    DBmaster_table->CheckBrowseMode();
    {
        ProgressShown progress(ProgressBar1, DBmaster_table->RecordCount() + 10);
        TControlsDisabled still(*DBmaster_table);
        TBookmarkKept place(*DBmaster_table);
        TField& check = DBmaster_table->FieldByName(QStringLiteral("fcheck"));
        TField& target = DBmaster_table->FieldByName(column);
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next()) {
            ProgressBar1->setValue(DBmaster_table->RecNo());
            if (!check.AsBoolean()) continue;
            DBmaster_table->Edit();
            target.SetAsString(value);
            DBmaster_table->Post();
        }
    }
    sendChanges();
    UpdateActionState();
    MessageBox(QStringLiteral("批量修改完成!"));
}

// ---------------------------------------------------------------- record editor

void Tfrm_barcode::append_actionExecute() {
    Tbase_frmMdi::append_actionExecute();
    cxGrid1DBTableView1->setFocus();
}

void Tfrm_barcode::DBmaster_tableBeforePost() {
    if (m_writingCodes) return;
    TField& goods = DBmaster_table->FieldByName(QStringLiteral("fgoodsid"));
    TField& colour = DBmaster_table->FieldByName(QStringLiteral("fcolorid"));
    TField& size = DBmaster_table->FieldByName(QStringLiteral("fsize"));
    if (goods.AsString().isEmpty()) Refuse(QStringLiteral("货号不能为空!"));
    if (colour.AsString().isEmpty()) Refuse(QStringLiteral("颜色编号不能为空!"));
    if (size.AsString().isEmpty()) Refuse(QStringLiteral("尺码不能为空!"));
    TField& printSize = DBmaster_table->FieldByName(QStringLiteral("fprintsize"));
    TField& printColour = DBmaster_table->FieldByName(QStringLiteral("fprintcolorid"));
    if (printSize.AsString().isEmpty()) printSize.SetAsString(size.AsString());
    if (printColour.AsString().isEmpty()) printColour.SetAsString(colour.AsString());
}

void Tfrm_barcode::post_actionExecute() {
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    sendChanges();
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tfrm_barcode::sendChanges() {
    refuseDuplicateBarcodes();
    DBmaster_table->UpdateBatch();
}

void Tfrm_barcode::refuseDuplicateBarcodes() {
    struct Row {
        QString variant;  // as the message names it
        QString key;      // as the database compares it
        QStringList codes;
        QStringList changed;  // codes new to this row
    };
    QList<Row> rows;
    {
        TControlsDisabled still(*DBmaster_table);
        TBookmarkKept place(*DBmaster_table);
        const TField& goods = DBmaster_table->FieldByName(QStringLiteral("fgoodsid"));
        const TField& colour = DBmaster_table->FieldByName(QStringLiteral("fcolorid"));
        const TField& size = DBmaster_table->FieldByName(QStringLiteral("fsize"));
        const TField* codes[] = {&DBmaster_table->FieldByName(QStringLiteral("fbarcode1")),
                                 &DBmaster_table->FieldByName(QStringLiteral("fbarcode2"))};
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next()) {
            Row row;
            row.variant = variantText(goods.AsString(), colour.AsString(), size.AsString());
            row.key = sameKey(row.variant);
            const TUpdateStatus status = DBmaster_table->UpdateStatus();
            for (const TField* field : codes) {
                const QString code = field->AsString().trimmed();
                if (code.isEmpty()) continue;
                row.codes << code;
                if (status == usInserted ||
                    (status == usModified &&
                     sameKey(field->OldValue().toString().trimmed()) != sameKey(code)))
                    row.changed << code;
            }
            rows << row;
        }
    }

    // Within the rows at hand.
    QHash<QString, QList<int>> holders;  // code -> rows that carry it
    QHash<QString, int> changedBy;       // changed code -> the first row that took it
    QHash<QString, QString> typed;       // changed code -> as typed
    QSet<QString> variantsHere;
    for (int i = 0; i < rows.size(); ++i) {
        variantsHere.insert(rows[i].key);
        for (const QString& code : std::as_const(rows[i].codes)) holders[sameKey(code)] << i;
    }
    for (int i = 0; i < rows.size(); ++i)
        for (const QString& code : std::as_const(rows[i].changed)) {
            for (int other : holders.value(sameKey(code)))
                if (rows[other].key != rows[i].key)
                    Refuse(QStringLiteral("条形码“%1”重复：%2 与 %3")
                               .arg(code, rows[i].variant, rows[other].variant));
            if (!changedBy.contains(sameKey(code))) {
                changedBy.insert(sameKey(code), i);
                typed.insert(sameKey(code), code);
            }
        }
    if (changedBy.isEmpty()) return;

    // Against the server's rows of other variants: one query for every changed
    // code (in parts, so a long list stays within the parameter limits).
    const QStringList changed = changedBy.keys();
    constexpr int kPart = 400;
    for (int from = 0; from < changed.size(); from += kPart) {
        QStringList names;
        QVariantHash params;
        for (int i = from; i < qMin<int>(changed.size(), from + kPart); ++i) {
            const QString name = QStringLiteral("c%1").arg(i - from);
            names << QLatin1Char(':') + name;
            params.insert(name, typed.value(changed[i]));
        }
        const QString list = names.join(QLatin1Char(','));
        TRemoteUdpDataSet query;
        md::OpenQuery(query,
                      QStringLiteral("select fgoodsid,fcolorid,fsize,fbarcode1,fbarcode2 from "
                                     "barcode where fbarcode1 in(") +
                          list + QStringLiteral(") or fbarcode2 in(") + list + QStringLiteral(")"),
                      params);
        for (query.First(); !query.Eof(); query.Next()) {
            const QString variant = variantText(
                query.Fields(0).AsString(), query.Fields(1).AsString(), query.Fields(2).AsString());
            // Rows the grid holds count with the values the grid gives them.
            if (variantsHere.contains(sameKey(variant))) continue;
            for (int c = 3; c <= 4; ++c) {
                const QString code = query.Fields(c).AsString().trimmed();
                const auto taker = changedBy.constFind(sameKey(code));
                if (code.isEmpty() || taker == changedBy.constEnd()) continue;
                Refuse(QStringLiteral("条形码“%1”重复：%2 与 %3")
                           .arg(code, rows[taker.value()].variant, variant));
            }
        }
        query.Close();
    }
}

void Tfrm_barcode::del_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    if (!AskYesNo(QStringLiteral("是否确认删除此记录？"))) Abort();
    DBmaster_table->CheckBrowseMode();
    const TBookmark current = DBmaster_table->GetBookmark();
    {
        // The filter goes again whatever happens below.
        struct FilterOff {
            TRemoteUdpDataSet* ds;
            ~FilterOff() { ds->SetFiltered(false); }
        } filterOff{DBmaster_table};
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->SetFilter(QStringLiteral("fcheck=1"));
        DBmaster_table->SetFiltered(true);
        if (!DBmaster_table->IsEmpty()) {
            while (!DBmaster_table->IsEmpty()) {
                DBmaster_table->First();
                DBmaster_table->Delete();
            }
        } else {
            DBmaster_table->SetFiltered(false);
            if (DBmaster_table->BookmarkValid(current)) DBmaster_table->GotoBookmark(current);
            DBmaster_table->Delete();
        }
    }
    sendChanges();
    UpdateActionState();
    WriteLog(QStringLiteral("删除"));
}

// ---------------------------------------------------------------- barcode 2

void Tfrm_barcode::clearcode2_actionExecute() {
    if (!AskYesNo(QStringLiteral("是否确认清空条形码2的内容?"))) Abort();
    sendPendingChanges();
    md::ExecuteSQL(QStringLiteral("update barcode set fbarcode2=''"));
    openGrid(DBmaster_table->SQL());
    UpdateActionState();
}

qint64 Tfrm_barcode::NextNationalSerial(const QString& storedMax, const QString& prefix) {
    QString rest = storedMax;
    if (!prefix.isEmpty()) rest.remove(prefix);
    bool ok = false;
    const qint64 last = rest.trimmed().toLongLong(&ok);
    return ok && last >= 0 ? last + 1 : 1;
}

void Tfrm_barcode::nationalcode_actionExecute() {
    const QString prefix = md::Shared().NationalCodePrefix.trimmed();
    const QString problem = md::NationalCodePrefixProblem(prefix);
    if (!problem.isEmpty()) Refuse(problem);
    sendPendingChanges();
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) return;

    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select max(fbarcode2) as fno from barcode"));
    qint64 serial =
        NextNationalSerial(query.IsEmpty() ? QString() : query.Fields(0).AsString(), prefix);
    query.Close();

    // Serials beyond their digits would cut to codes already given: refuse
    // before anything is written.
    TField& code2 = DBmaster_table->FieldByName(QStringLiteral("fbarcode2"));
    const int rowCount = DBmaster_table->RecordCount();
    int toCode = 0;
    for (int row = 0; row < rowCount; ++row)
        if (DBmaster_table->valueAt(row, code2.Index()).toString().trimmed().isEmpty()) ++toCode;
    if (toCode == 0) return;
    const int digits = 12 - int(prefix.size());
    const qint64 last = serial + toCode - 1;
    if (QString::number(last).size() > digits)
        Refuse(QStringLiteral("国标码“%1”后只有%2位流水号，给%3个条码编号要用到%4，超出了位数。"
                              "请在“公司信息”中改用位数较少的国标码前缀。")
                   .arg(prefix)
                   .arg(digits)
                   .arg(toCode)
                   .arg(last));

    // The server's rows change in one transaction, the grid's rows with them:
    // when a write fails, neither keeps any code of this run.
    TRemoteUdpConnection* connection = md::Session().Connection;
    if (!connection) throw EDatabaseError(QStringLiteral("没有数据库连接"));
    const TField& goods = DBmaster_table->FieldByName(QStringLiteral("fgoodsid"));
    const TField& colour = DBmaster_table->FieldByName(QStringLiteral("fcolorid"));
    const TField& size = DBmaster_table->FieldByName(QStringLiteral("fsize"));
    try {
        ProgressShown progress(ProgressBar1, rowCount);
        TControlsDisabled still(*DBmaster_table);
        TBookmarkKept place(*DBmaster_table);
        TTransactionScope transaction(*connection);
        m_writingCodes = true;
        struct WritingEnds {
            bool& flag;
            ~WritingEnds() { flag = false; }
        } writingEnds{m_writingCodes};
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next()) {
            if (code2.AsString().trimmed().isEmpty()) {
                const QString code = md::CompleteEan13(
                    prefix + QString::number(serial).rightJustified(digits, QLatin1Char('0')));
                DBmaster_table->Edit();
                code2.SetAsString(code);
                DBmaster_table->Post();
                md::ExecuteSQL(QStringLiteral("update barcode set fbarcode2='") + SqlText(code) +
                               QStringLiteral("'") + QStringLiteral(" where fgoodsid=") +
                               QStringLiteral("'") + SqlText(goods.AsString()) +
                               QStringLiteral("'") + QStringLiteral(" and fcolorid=") +
                               QStringLiteral("'") + SqlText(colour.AsString()) +
                               QStringLiteral("'") + QStringLiteral(" and fsize=") +
                               QStringLiteral("'") + SqlText(size.AsString()) +
                               QStringLiteral("'"));
                ++serial;
            }
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            ProgressBar1->setValue(DBmaster_table->RecNo());
        }
        transaction.commit();
    } catch (...) {
        DBmaster_table->CancelUpdates();
        throw;
    }
    // The grid shows what the server now holds; nothing of it is left to send.
    DBmaster_table->MergeChangeLog();
    UpdateActionState();
}

// ---------------------------------------------------------------- other actions

void Tfrm_barcode::print_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    // The hang tag of the current row, found by its barcode 1.
    PrintOneTable(QStringLiteral("吊牌.frf"),
                  QStringLiteral("select top 1 * from vbarcode where 条形码1='") +
                      SqlText(DBmaster_table->FieldByName(QStringLiteral("fbarcode1")).AsString()) +
                      QStringLiteral("'"));
    UpdateActionState();
    WriteLog(QStringLiteral("打印"));
}

void Tfrm_barcode::wizard_actionExecute() {
    if (!m_wizard) m_wizard = CreateForm<Tfrm_barcodeAdd>(this);
    ExecModal(*m_wizard);
    UpdateActionState();
}

void Tfrm_barcode::batchprint_actionExecute() {
    if (!m_batchPrint) {
        const FormFactory factory = formFactoryFor("Tfrm_bardetail");
        if (!factory) return;
        m_batchPrint = factory(nullptr);
        if (!m_batchPrint) return;
        // A window of the host's multi-document area when the host has one.
        auto* host = qobject_cast<QWidget*>(md::Session().HostMainForm);
        if (QMdiArea* area = host ? host->findChild<QMdiArea*>() : nullptr) {
            QMdiSubWindow* frame = area->addSubWindow(m_batchPrint);
            frame->setAttribute(Qt::WA_DeleteOnClose);
            connect(m_batchPrint, &QObject::destroyed, frame, &QObject::deleteLater);
        }
    }
    if (auto* frame = qobject_cast<QMdiSubWindow*>(m_batchPrint->parentWidget())) {
        frame->show();
        if (QMdiArea* area = frame->mdiArea()) area->setActiveSubWindow(frame);
    } else {
        m_batchPrint->show();
        m_batchPrint->raise();
        m_batchPrint->activateWindow();
    }
}

MD_REGISTER_FORM(Tfrm_barcode);
