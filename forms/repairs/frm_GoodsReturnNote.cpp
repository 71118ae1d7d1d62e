#include "frm_GoodsReturnNote.h"

#include <QAction>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "datasource.h"
#include "editors.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "sqlquote.h"
#include "styles.h"
#include "waitcursor.h"

using md::ui::Refuse;
using md::ui::RepairNoteMode;

namespace {

const QChar CR(13);
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// Why a typed day cannot be the day of a step: one still to come.
QString FutureDayProblem(const QString& caption, const QString& text) {
    const QDate day = QDate::fromString(text.trimmed().left(10), kDateFormat);
    if (day.isValid() && day > QDate::currentDate())
        return caption + QStringLiteral("不能晚于今天!");
    return QString();
}

// The 回复 cell: the count of follow-ups on a button face; a click on it adds one.
class TAnswerButtonDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(1, 1, -1, -1);
        button.text = index.data(Qt::DisplayRole).toString();
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
    }
};

}  // namespace

Tfrm_GoodsReturnNote::Tfrm_GoodsReturnNote(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_GoodsReturnNote"));
    setWindowTitle(QStringLiteral("商品维修管理"));
    OpenNote = [this](const QString& billId, RepairNoteMode mode) {
        return md::ui::OpenRepairNote(this, billId, mode);
    };

    DBclient_table = new TRemoteUdpDataSet(QStringLiteral("DBclient_table"), this);
    DBclient_table->SetLockType(etOptimistic);
    DBsupplier_table = new TRemoteUdpDataSet(QStringLiteral("DBsupplier_table"), this);
    DBsupplier_table->SetLockType(etOptimistic);
    DBtran_table = new TRemoteUdpDataSet(QStringLiteral("DBtran_table"), this);
    DBtran_table->SetLockType(etOptimistic);
    DbTran_Source = new TDataSource(QStringLiteral("DbTran_Source"), this);
    DbTran_Source->setDataSet(DBtran_table);
    // Only the current line's follow-ups are shown.
    DBtran_table->OnFilterRecord = [this](TRemoteUdpDataSet& ds, bool& accept) {
        accept =
            ds.FieldByName(QStringLiteral("fgoodsbillid")).AsString().trimmed() == m_currentLine;
    };

    LineUpdateSql = new TRemoteUpdateSql(this);
    LineUpdateSql->setObjectName(QStringLiteral("LineUpdateSql"));
    LineUpdateSql->ModifySQL =
        QStringLiteral(
            "update d_GoodsReturnNotedetail set "
            "fsupqty=:fsupqty,fsupdate=:fsupdate,fsupreturnqty=:fsupreturnqty,fsupreturndate=:"
            "fsupreturndate,") +
        QStringLiteral(
            "fcliqty=:fcliqty,fclidate=:fclidate,fremark=:fremark,fflag=:fflag,fsuppliercode=:"
            "fsuppliercode,fanswerint=:fanswerint where fautoid=:fautoid");
    DBmaster_table->SetupDataObject(LineUpdateSql);

    BackSup_action = NewAction(QStringLiteral("BackSup_action"), QStringLiteral("退厂维修"),
                               [this] { BackSup_actionExecute(); });
    BackSup_action->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    SupBack_action = NewAction(QStringLiteral("SupBack_action"), QStringLiteral("工厂返回"),
                               [this] { SupBack_actionExecute(); });
    SupBack_action->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    BackClient_action = NewAction(QStringLiteral("BackClient_action"), QStringLiteral("维修出仓"),
                                  [this] { BackClient_actionExecute(); });
    BackClient_action->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    SetToolbar({append_action, edit_action, nullptr, BackSup_action, SupBack_action,
                BackClient_action, nullptr, excel_action, close_action});
    HideActions({first_action, prio_action, next_action, last_action, post_action, cacel_action,
                 del_action, find_action, print_action});

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(4, 4, 4, 4);
    buildFilter(ClientPanel);
    layout->addWidget(GroupBox1);
    Splitter1 = new QSplitter(Qt::Vertical, ClientPanel);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    buildLines(Splitter1);
    buildFollowUps(Splitter1);
    Splitter1->addWidget(cxGrid1);
    Splitter1->addWidget(cxGrid2);
    Splitter1->setStretchFactor(0, 4);
    Splitter1->setStretchFactor(1, 1);
    layout->addWidget(Splitter1, 1);
    resize(1180, 640);
}

void Tfrm_GoodsReturnNote::buildFilter(QWidget* parent) {
    GroupBox1 = new QGroupBox(QStringLiteral("条件过滤"), parent);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* row = new QHBoxLayout(GroupBox1);
    row->setSpacing(6);
    auto label = [this, row](const char* caption) {
        row->addWidget(new QLabel(QString::fromUtf8(caption), GroupBox1));
    };
    auto date = [this](const char* name) {
        auto* edit = new QDateEdit(GroupBox1);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDisplayFormat(kDateFormat);
        edit->setCalendarPopup(true);
        return edit;
    };
    auto combo = [this](const char* name) {
        auto* box = new md::ui::TLookupCombo(GroupBox1);
        box->setObjectName(QString::fromLatin1(name));
        box->setMinimumWidth(100);
        return box;
    };
    Date1 = date("Date1");
    Date2 = date("Date2");
    Combo_Client = combo("Combo_Client");
    Combo_Supplier = combo("Combo_Supplier");
    Edit_GoodsID = new QLineEdit(GroupBox1);
    Edit_GoodsID->setObjectName(QStringLiteral("Edit_GoodsID"));
    Edit_GoodsID->setMaxLength(30);
    Edit_GoodsID->setMaximumWidth(120);
    But_Count = new QPushButton(QStringLiteral("统计"), GroupBox1);
    But_Count->setObjectName(QStringLiteral("But_Count"));
    But_Count->setAutoDefault(false);
    But_Count->setMinimumWidth(80);

    label("日  期");
    row->addWidget(Date1);
    label("至");
    row->addWidget(Date2);
    row->addSpacing(10);
    label("返修客户/店铺");
    row->addWidget(Combo_Client);
    row->addSpacing(10);
    label("厂商编号");
    row->addWidget(Combo_Supplier);
    row->addSpacing(10);
    label("货  号");
    row->addWidget(Edit_GoodsID);
    row->addSpacing(10);
    row->addWidget(But_Count);
    row->addStretch(1);
    OnClick(But_Count, [this] { But_CountClick(); });
}

void Tfrm_GoodsReturnNote::buildLines(QWidget* parent) {
    cxGrid1 = new TDBGrid(parent, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    const int client = v->AddBand(QStringLiteral("客户往来联"));
    const int factory = v->AddBand(QStringLiteral("工厂往来联"));
    const int back = v->AddBand(QStringLiteral("返回客户联"));
    auto shown = [v, client](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .band(client)
            .readOnly();
    };
    shown("fbillid", "单号", 98).footer(TSummaryKind::Count, QStringLiteral("合计"));
    shown("fbilldate", "退货日期", 80).footer(TSummaryKind::Count, QStringLiteral("0"));
    shown("fcolorid", "颜色编号", 62);
    shown("fabbrev", "客户/店铺", 84);
    shown("fanswerint", "回复", 38);
    shown("fgoodsid", "货号", 94);
    shown("goodsname", "品名", 110);
    shown("fcolor", "颜色名称", 62);
    shown("fsize", "尺码", 40);
    shown("fqty", "数量", 40).footer(TSummaryKind::Sum, QStringLiteral("0"));
    shown("freturnremark", "质量问题", 76);
    shown("fposted", "审核否", 46).checkBox();
    shown("fisnew", "新/旧", 40);

    // The later steps are typed in place: whole quantities, days not to come.
    auto quantity = [v](const char* field, const char* caption, int band, int width) {
        md::ui::AcceptNumbers(v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
                                  .width(width)
                                  .band(band)
                                  .footer(TSummaryKind::Sum, QStringLiteral("0")),
                              md::ui::TNumberKind::Whole);
    };
    auto day = [v](const char* field, const char* caption, int band) {
        TGridColumn& column = v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
                                  .width(88)
                                  .band(band)
                                  .date();
        const TGridColumn* self = &column;
        column.inputCheck(
            [self](const QString& text) { return FutureDayProblem(self->Caption(), text); });
    };
    v->AddColumn(QStringLiteral("fsuppliercode"), QStringLiteral("厂商"))
        .width(80)
        .band(factory)
        .upperCase()
        .lookup(DBsupplier_table, QStringLiteral("fcode"),
                {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                {QStringLiteral("厂商编号"), QStringLiteral("厂商简称")},
                QStringLiteral("fabbrev"));
    day("fsupdate", "发出日期", factory);
    quantity("fsupqty", "发出数量", factory, 62);
    day("fsupreturndate", "收回日期", factory);
    quantity("fsupreturnqty", "收回数量", factory, 62);
    quantity("fcliqty", "返回客户数量", back, 88);
    day("fclidate", "返回客户日期", back);
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("备注")).width(100).band(back);
    v->AddColumn(QStringLiteral("fflag"), QStringLiteral("完成否"))
        .width(46)
        .band(back)
        .checkBox()
        .readOnly();
    for (const char* hiddenField : {"fgoodsbillid", "fautoid"})
        v->AddColumn(QString::fromLatin1(hiddenField), QString::fromLatin1(hiddenField)).hidden();

    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    m_answerFace = new TAnswerButtonDelegate(v);
    connect(v, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& at) {
        const TGridColumn* column = cxGrid1DBTableView1->ColumnOfSection(at.column());
        // Cells typed in place open their editor; 回复 has its own click.
        if (!column || !column->ReadOnly() ||
            column->FieldName().compare(QStringLiteral("fanswerint"), Qt::CaseInsensitive) == 0)
            return;
        Run([this] { cxGrid1DBTableView1DblClick(); });
    });
    connect(v, &QAbstractItemView::clicked, this, [this](const QModelIndex& at) {
        const TGridColumn* column = cxGrid1DBTableView1->ColumnOfSection(at.column());
        if (column &&
            column->FieldName().compare(QStringLiteral("fanswerint"), Qt::CaseInsensitive) == 0)
            Run([this] { fanswerintButtonClick(); });
    });
}

void Tfrm_GoodsReturnNote::buildFollowUps(QWidget* parent) {
    cxGrid2 = new TDBGrid(parent, QStringLiteral("cxGrid2"));
    cxGrid2DBTableView1 = cxGrid2->View();
    TDBTableView* v = cxGrid2DBTableView1;
    v->setDataSource(DbTran_Source);
    v->AddColumn(QStringLiteral("fautoid"), QStringLiteral("序号")).width(50);
    v->AddColumn(QStringLiteral("fTranRemark"), QStringLiteral("跟进说明")).width(420);
    v->AddColumn(QStringLiteral("finputusername"), QStringLiteral("跟进人员")).width(90);
    v->AddColumn(QStringLiteral("finputdate"), QStringLiteral("跟进日期")).width(90);
    v->SetInputAllowed(false);
}

// ---------------------------------------------------------------- create and state

void Tfrm_GoodsReturnNote::FormCreate() {
    Tbase_frmMdi::FormCreate();
    md::ui::ApplySharedColours(this);
    RightBackSup = md::HasRight(QStringLiteral("M_BackSup"));
    RightSupBack = md::HasRight(QStringLiteral("M_SupBack"));
    RightBackClient = md::HasRight(QStringLiteral("M_BackClient"));
    md::OpenQuery(*DBclient_table, QStringLiteral("select fcode,fabbrev from dt_client"));
    md::OpenQuery(*DBsupplier_table, QStringLiteral("select fcode,fabbrev from dt_supplier"));
    Combo_Client->setList(DBclient_table, QStringLiteral("fcode"),
                          {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                          {QStringLiteral("客户编号"), QStringLiteral("客户简称")});
    Combo_Client->setKeyValue(QString());
    Combo_Supplier->setList(DBsupplier_table, QStringLiteral("fcode"),
                            {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                            {QStringLiteral("厂商编号"), QStringLiteral("厂商简称")});
    Combo_Supplier->setKeyValue(QString());
    const QDate today = QDate::currentDate();
    Date1->setDate(QDate(today.year(), today.month(), 1));
    Date2->setDate(today);
    But_CountClick();
}

bool Tfrm_GoodsReturnNote::hasLines() const {
    return DBmaster_table->Active() && !DBmaster_table->IsEmpty();
}

void Tfrm_GoodsReturnNote::UpdateActionState() {
    const bool lines = hasLines();
    const bool approved =
        lines && DBmaster_table->FieldByName(QStringLiteral("fposted")).AsBoolean();
    append_action->setEnabled(RightAdd);
    edit_action->setEnabled(lines && RightEdit && !approved);
    BackSup_action->setEnabled(lines && RightBackSup);
    SupBack_action->setEnabled(lines && RightSupBack);
    BackClient_action->setEnabled(lines && RightBackClient);
    excel_action->setEnabled(RightExcel);
    // The steps of a line are typed in place by those who may change notes.
    cxGrid1DBTableView1->SetInputAllowed(RightEdit);
}

void Tfrm_GoodsReturnNote::DBmaster_tableAfterOpen() {
    // Sections are the dataset's columns: the 回复 face goes where the field is now.
    const int answer = cxGrid1DBTableView1->SectionOf(QStringLiteral("fanswerint"));
    if (answer >= 0 && answer != m_answerSection) {
        if (m_answerSection >= 0)
            cxGrid1DBTableView1->setItemDelegateForColumn(m_answerSection, nullptr);
        cxGrid1DBTableView1->setItemDelegateForColumn(answer, m_answerFace);
        m_answerSection = answer;
    }
    Tbase_frmMdi::DBmaster_tableAfterOpen();
}

void Tfrm_GoodsReturnNote::DBmaster_tableAfterScroll() {
    const QString line =
        hasLines()
            ? DBmaster_table->FieldByName(QStringLiteral("fgoodsbillid")).AsString().trimmed()
            : QString();
    if (line != m_currentLine || !DBtran_table->Filtered()) {
        m_currentLine = line;
        if (DBtran_table->Active()) {
            DBtran_table->SetFiltered(true);
            DBtran_table->RefilterRecords();
        }
    }
    UpdateActionState();
}

// A line's steps must add up before anything of it is written.
void Tfrm_GoodsReturnNote::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    auto field = [&ds](const char* name) -> TField& {
        return ds.FieldByName(QString::fromLatin1(name));
    };
    for (const auto& [name, caption] :
         {std::pair{"fsupdate", "发出日期"}, std::pair{"fsupreturndate", "收回日期"},
          std::pair{"fclidate", "返回客户日期"}}) {
        TField& day = field(name);
        if (day.IsNull()) continue;
        const QString problem = FutureDayProblem(QString::fromUtf8(caption), day.AsString());
        if (!problem.isEmpty()) Refuse(problem);
    }
    const QString problem = md::repairs::QuantityChainProblem(
        field("fgoodsid").AsString().trimmed(), field("fcolorid").AsString().trimmed(),
        field("fsize").AsString().trimmed(), field("fqty").AsFloat(), field("fsupqty").AsFloat(),
        field("fsupreturnqty").AsFloat(), field("fcliqty").AsFloat());
    if (!problem.isEmpty()) Refuse(problem);
}

// ---------------------------------------------------------------- 统计

QString Tfrm_GoodsReturnNote::Conditions() const {
    QString where = QStringLiteral("where b.fbilldate>='") +
                    SqlText(Date1->date().toString(kDateFormat)) + QStringLiteral("'") +
                    QStringLiteral(" and b.fbilldate<=") + QStringLiteral("'") +
                    SqlText(Date2->date().toString(kDateFormat)) + QStringLiteral("'");
    const QString client = Combo_Client->keyValue().trimmed();
    if (!client.isEmpty()) where += QStringLiteral(" and b.fclientcode=") + QuotedStr(client);
    const QString supplier = Combo_Supplier->keyValue().trimmed();
    if (!supplier.isEmpty()) where += QStringLiteral(" and a.fsuppliercode=") + QuotedStr(supplier);
    const QString goods = Edit_GoodsID->text().trimmed();
    if (!goods.isEmpty())
        where += QStringLiteral(" and a.fgoodsid like ") + QStringLiteral("'%") + SqlText(goods) +
                 QStringLiteral("%'");
    return where;
}

QString Tfrm_GoodsReturnNote::LinesSQL() const {
    return QStringLiteral(
               "select a.fbillid+convert(varchar(30),a.fautoid) as "
               "fgoodsbillid,a.fautoid,b.fbillid,b.fbilldate,c.fabbrev,a.fgoodsid,d.goodsname,a."
               "fcolorid,d.colorname_ch as fcolor,") +
           CR +
           QStringLiteral(
               "a.fsize,a.fqty,a.freturnremark,a.fsupqty,a.fsupdate,a.fsupreturnqty,a."
               "fsupreturndate,a.fcliqty,a.fclidate,a.fremark,") +
           CR + QStringLiteral("a.fsuppliercode,a.fflag,a.fisnew,a.fanswerInt,b.fposted") + CR +
           QStringLiteral(
               " from d_GoodsReturnNotedetail a join d_GoodsReturnNote b on a.fbillid=b.fbillid "
               "join dt_client c on b.fclientcode=c.fcode") +
           CR +
           QStringLiteral("join vgoodscolor d on a.fgoodsid=d.goodsid and a.fcolorid=d.colorid ") +
           Conditions() + QStringLiteral(" order by b.fbillid desc,a.fautoid");
}

QString Tfrm_GoodsReturnNote::FollowUpsSQL() const {
    return QStringLiteral(
               "select * from d_GoodsReturnTran where fbillid in(select a.fbillid from "
               "d_GoodsReturnNoteDetail a join d_GoodsReturnNote b on a.fbillid=b.fbillid ") +
           Conditions() + CR + QStringLiteral(") order by fbillid desc,fbillautoid");
}

void Tfrm_GoodsReturnNote::sendPendingEdits() {
    cxGrid1DBTableView1->PostEditor();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active()) return;
    if (ds.InEditState()) ds.Post();
    if (ds.UpdatesPending()) ds.UpdateBatch();
}

void Tfrm_GoodsReturnNote::But_CountClick() {
    if (Date1->date() > Date2->date()) Refuse(QStringLiteral("开始日期不能晚于结束日期！"));
    sendPendingEdits();
    {
        md::ui::TWaitCursor wait;
        md::OpenQuery(*DBtran_table, FollowUpsSQL());
        m_currentLine.clear();
        DBmaster_table->Close();
        DBmaster_table->SetSQL(LinesSQL());
        DBmaster_table->Open();
    }
    DBmaster_tableAfterScroll();
}

void Tfrm_GoodsReturnNote::reload() {
    const QVariant line =
        hasLines() ? DBmaster_table->FieldByName(QStringLiteral("fautoid")).Value() : QVariant();
    But_CountClick();
    if (!line.isNull() && hasLines()) {
        DBmaster_table->Locate(QStringLiteral("fautoid"), line);
        DBmaster_tableAfterScroll();
    }
}

bool Tfrm_GoodsReturnNote::FormCloseQuery() {
    // A line that cannot be written keeps the window open to be corrected.
    return md::ui::Guard([this] { sendPendingEdits(); });
}

// ---------------------------------------------------------------- the note editor

void Tfrm_GoodsReturnNote::openNoteFor(RepairNoteMode mode, const QString& logWord) {
    if (!DBmaster_table->Active()) But_CountClick();
    // The editor works on the stored note: what was typed here goes first.
    sendPendingEdits();
    QString billId;
    if (mode != RepairNoteMode::New) {
        if (!hasLines()) Abort();
        billId = DBmaster_table->FieldByName(QStringLiteral("fbillid")).AsString().trimmed();
    }
    if (!OpenNote(billId, mode)) return;
    reload();
    if (!logWord.isEmpty()) WriteLog(logWord, billId);
}

void Tfrm_GoodsReturnNote::append_actionExecute() {
    openNoteFor(RepairNoteMode::New, QStringLiteral("新增"));
}

void Tfrm_GoodsReturnNote::edit_actionExecute() {
    if (hasLines() && DBmaster_table->FieldByName(QStringLiteral("fposted")).AsBoolean()) Abort();
    openNoteFor(RepairNoteMode::Edit, QStringLiteral("修改"));
}

void Tfrm_GoodsReturnNote::BackSup_actionExecute() {
    openNoteFor(RepairNoteMode::SendToFactory, BackSup_action->text());
}

void Tfrm_GoodsReturnNote::SupBack_actionExecute() {
    openNoteFor(RepairNoteMode::FactoryReturn, SupBack_action->text());
}

void Tfrm_GoodsReturnNote::BackClient_actionExecute() {
    openNoteFor(RepairNoteMode::ReturnToClient, BackClient_action->text());
}

void Tfrm_GoodsReturnNote::cxGrid1DBTableView1DblClick() {
    openNoteFor(RepairNoteMode::View, QString());
}

// ---------------------------------------------------------------- 回复

void Tfrm_GoodsReturnNote::fanswerintButtonClick() {
    if (!hasLines()) return;
    // The dialog counts the remark in the database; what was typed goes first
    // so that the count it raises is the one the list writes afterwards.
    sendPendingEdits();
    const QString billId =
        DBmaster_table->FieldByName(QStringLiteral("fbillid")).AsString().trimmed();
    const int line = DBmaster_table->FieldByName(QStringLiteral("fautoid")).AsInteger();
    if (md::ui::AddRepairFollowUp(this, billId, line)) reload();
}

MD_REGISTER_FORM(Tfrm_GoodsReturnNote);
