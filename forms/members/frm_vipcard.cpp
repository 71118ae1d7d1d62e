#include "frm_vipcard.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "datasource.h"
#include "dbcontrols.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "frm_VipBatch.h"
#include "frm_VipCarInput.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "reportbridge.h"
#include "routines.h"
#include "scopes.h"
#include "sharedvalues.h"

using md::ui::Refuse;

namespace {

// The columns the form writes, in the order of its insert.
const char* const kWrittenColumns[] = {
    "vipid",    "begaindate", "enddate",    "name",     "sex",       "birthdate",  "height",
    "weight",   "shoesize",   "tel",        "email",    "address",   "remark",     "engname",
    "idcard",   "workname",   "workaddres", "earning",  "mobiletel", "encryptvip", "frocksize",
    "downsize", "leibie",     "waistline",  "clientid", "groupname", "vipgrade",   "amount"};

QString insertSQL() {
    QStringList columns, values;
    for (const char* c : kWrittenColumns) {
        columns << QString::fromLatin1(c);
        values << QLatin1Char(':') + QString::fromLatin1(c);
    }
    return QStringLiteral("insert into dt_vipcard(") + columns.join(QLatin1Char(',')) +
           QStringLiteral(")\nvalues(") + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString modifySQL() {
    QStringList sets;
    for (const char* c : kWrittenColumns) {
        const QString column = QString::fromLatin1(c);
        // name is a reserved word on the server.
        const QString target = column == QLatin1String("name") ? QStringLiteral("[name]") : column;
        sets << target + QStringLiteral("=:") + column;
    }
    return QStringLiteral("update dt_vipcard set ") + sets.join(QLatin1Char(',')) +
           QStringLiteral("\nwhere vipid=:vipid");
}

// The progress bar in the status bar while a batch of cards is made: it moves
// at most every 100 ms, and waiting paint events are processed then, by the
// clock rather than per card.
class TIssueProgress {
  public:
    TIssueProgress(QProgressBar* bar, int total) : m_bar(bar) {
        m_bar->setRange(0, qMax(1, total));
        m_bar->setValue(0);
        m_bar->setVisible(true);
        m_clock.start();
    }
    ~TIssueProgress() { m_bar->setVisible(false); }
    TIssueProgress(const TIssueProgress&) = delete;
    TIssueProgress& operator=(const TIssueProgress&) = delete;

    void step(int done) {
        if ((done & 255) != 0 || m_clock.elapsed() < 100) return;
        m_bar->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }

  private:
    QProgressBar* m_bar;
    QElapsedTimer m_clock;
};

}  // namespace

Tfrm_vipcard::Tfrm_vipcard(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("VIP会员资料"));
    // The detail page's editors take input only after "新增" or "修改".
    DbMaster_Source->SetAutoEdit(false);
    DBviplb = new TRemoteUdpDataSet(QStringLiteral("DBviplb"), this);
    DBshop = new TRemoteUdpDataSet(QStringLiteral("DBshop"), this);
    VipUpdateSql = new TRemoteUpdateSql(this);
    VipUpdateSql->setObjectName(QStringLiteral("VipUpdateSql"));
    VipUpdateSql->InsertSQL = insertSQL();
    VipUpdateSql->ModifySQL = modifySQL();
    VipUpdateSql->DeleteSQL = QStringLiteral("delete from dt_vipcard where vipid=:vipid");
    DBmaster_table->SetupDataObject(VipUpdateSql);

    // The record editor's grid is the list page's.
    ClientPanel->layout()->removeWidget(cxGrid1);
    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ClientPanel->layout()->addWidget(PageControl1);
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("VIP会员列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("VIP会员资料"));
    buildListPage();
    buildDetailPage();

    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);
    StatusBar1->addWidget(ProgressBar1, 1);

    batch_action = NewAction(QStringLiteral("batch_action"), QStringLiteral("批量发放"),
                             [this] { batch_actionExecute(); });
    input_action = NewAction(QStringLiteral("input_action"), QStringLiteral("批量导入"),
                             [this] { input_actionExecute(); });
    ShowActions({find_action, print_action});
    SetToolbar({first_action, prio_action, next_action, last_action, nullptr, append_action,
                edit_action, post_action, cacel_action, del_action, nullptr, batch_action,
                input_action, nullptr, find_action, print_action, excel_action, close_action});
    resize(900, 600);
}

Tfrm_vipcard::~Tfrm_vipcard() {
    // The datasets go after this part of the window: they must not call it back.
    disconnect(DbMaster_Source, nullptr, this, nullptr);
    delete m_import.data();
}

void Tfrm_vipcard::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    cxGrid1->setParent(TabList);
    layout->addWidget(cxGrid1);
    TDBTableView* v = cxGrid1DBTableView1;
    auto column = [v](const char* field, const char* caption, int width) -> TGridColumn& {
        return v->AddColumn(QString::fromLatin1(field), QString::fromUtf8(caption))
            .width(width)
            .readOnly();
    };
    column("vipid", "Vip卡号", 100).footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    column("Name", "姓名", 80);
    column("Sex", "性别", 44);
    column("vipLBname", "VIP类别", 80);
    column("discount", "折扣", 56).currency(QStringLiteral("0.00"));
    column("BegainDate", "生效日期", 86).date();
    column("endDate", "失效日期", 86).date();
    column("Tel", "联系电话", 110);
    column("MobileTel", "手机号码", 110);
    column("fabbrev", "归属店铺", 120);
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    options.ColumnSorting = true;
    v->ApplyOptions();
    connect(v, &QAbstractItemView::doubleClicked, this, [this] {
        Run([this] {
            if (DBmaster_table->Active()) ShowDetailPage();
        });
    });
}

void Tfrm_vipcard::buildDetailPage() {
    auto* layout = new QVBoxLayout(TabDetail);
    layout->setContentsMargins(12, 12, 12, 12);
    DetailPanel = new TFieldPanel(DbMaster_Source, 3, TabDetail);
    TFieldPanel* p = DetailPanel;
    TDataSource* src = DbMaster_Source;

    Edit_VipId = &p->AddEdit(QStringLiteral("Vip卡号："), QStringLiteral("vipid"));
    Edit_VipId->SetUpperCase(true);
    p->AddEdit(QStringLiteral("姓名："), QStringLiteral("name"));
    p->AddEditor(QStringLiteral("性别："),
                 new TDBComboBox(src, QStringLiteral("sex"),
                                 {QStringLiteral("男"), QStringLiteral("女")}, true),
                 QStringLiteral("sex"));

    Combo_Grade = new TDBComboBox(src, QStringLiteral("vipLBname"), {}, false);
    p->AddEditor(QStringLiteral("Vip类别："), Combo_Grade, QStringLiteral("vipgrade"));
    Edit_Discount = new QLineEdit;
    Edit_Discount->setObjectName(QStringLiteral("Edit_Discount"));
    Edit_Discount->setReadOnly(true);
    Edit_Discount->setFocusPolicy(Qt::NoFocus);
    p->AddEditor(QStringLiteral("折扣："), Edit_Discount, QStringLiteral("discount"));
    Lookup_Shop = new TDBLookupComboBox(src, QStringLiteral("clientid"));
    p->AddEditor(QStringLiteral("发卡店铺："), Lookup_Shop, QStringLiteral("clientid"));

    Date_Begin = new TDBDateEdit(src, QStringLiteral("begaindate"));
    p->AddEditor(QStringLiteral("生效日期："), Date_Begin, QStringLiteral("begaindate"));
    Date_End = new TDBDateEdit(src, QStringLiteral("enddate"));
    p->AddEditor(QStringLiteral("失效日期："), Date_End, QStringLiteral("enddate"));
    TDBEdit& encrypted = p->AddEdit(QStringLiteral("加密卡号："), QStringLiteral("encryptvip"));
    encrypted.setEchoMode(QLineEdit::Password);

    p->AddEditor(QStringLiteral("出生日期："), new TDBDateEdit(src, QStringLiteral("birthdate")),
                 QStringLiteral("birthdate"));
    p->AddEdit(QStringLiteral("身份证号："), QStringLiteral("idcard"));
    p->AddEdit(QStringLiteral("籍贯："), QStringLiteral("engname"));

    Combo_Work = new TDBComboBox(src, QStringLiteral("workname"), {}, true);
    p->AddEditor(QStringLiteral("职业："), Combo_Work, QStringLiteral("workname"));
    p->AddEditor(QStringLiteral("收入："),
                 new TDBComboBox(src, QStringLiteral("earning"),
                                 {QStringLiteral("1000元以下"), QStringLiteral("1000-2000"),
                                  QStringLiteral("2000-3000"), QStringLiteral("3000-4000"),
                                  QStringLiteral("5000-8000"), QStringLiteral("8000元以上")},
                                 false),
                 QStringLiteral("earning"));
    p->AddEdit(QStringLiteral("积分："), QStringLiteral("amount"));

    p->AddEdit(QStringLiteral("联系电话："), QStringLiteral("tel"));
    p->AddEdit(QStringLiteral("手机号码："), QStringLiteral("mobiletel"));
    p->AddEdit(QStringLiteral("Email："), QStringLiteral("email"));
    p->AddEdit(QStringLiteral("工作单位："), QStringLiteral("workaddres"), true);
    p->AddEdit(QStringLiteral("住址："), QStringLiteral("address"), true);

    p->AddEdit(QStringLiteral("上衣尺寸："), QStringLiteral("frocksize"));
    p->AddEdit(QStringLiteral("腰围："), QStringLiteral("waistline"));
    p->AddEdit(QStringLiteral("裤长："), QStringLiteral("downsize"));
    p->AddEdit(QStringLiteral("身高："), QStringLiteral("height"));
    p->AddEdit(QStringLiteral("体重："), QStringLiteral("weight"));
    p->AddEdit(QStringLiteral("鞋码："), QStringLiteral("shoesize"));
    p->AddMemo(QStringLiteral("备注："), QStringLiteral("remark"));
    layout->addWidget(DetailPanel);
    layout->addStretch(1);

    connect(src, &TDataSource::dataChanged, this, [this](int) { showDiscount(); });
    connect(src, &TDataSource::stateChanged, this, [this] { showDiscount(); });
}

QString Tfrm_vipcard::MasterSQL() {
    return QStringLiteral(
               "select a.*,b.discount,b.vipLBname,c.fabbrev from dt_vipcard a left join ba_viplb "
               "b on a.vipgrade=b.viplbid ") +
           QLatin1Char('\r') +
           QStringLiteral("left join dt_client c on a.clientid=c.fcode where 1=1") +
           QLatin1Char('\r') + md::ClientScopeCondition(QStringLiteral("a.clientid"));
}

// ---------------------------------------------------------------- create, show, keys

void Tfrm_vipcard::openLists() {
    if (!DBviplb->Active()) md::OpenQuery(*DBviplb, QStringLiteral("select * from ba_VipLB"));
    QStringList names;
    const int nameColumn = DBviplb->FieldByName(QStringLiteral("vipLBname")).Index();
    for (int row = 0; row < DBviplb->RecordCount(); ++row)
        names << DBviplb->valueAt(row, nameColumn).toString();
    Combo_Grade->clear();
    Combo_Grade->addItems(names);

    md::OpenQuery(*DBshop, QStringLiteral("select fcode,fabbrev,fmathod from dt_client"));
    Lookup_Shop->setList(DBshop, QStringLiteral("fcode"),
                         {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                         {QStringLiteral("店铺编号"), QStringLiteral("店铺简称")});

    TRemoteUdpDataSet works;
    md::OpenQuery(works, QStringLiteral("select distinct(workname) from dt_vipcard"));
    Combo_Work->clear();
    for (works.First(); !works.Eof(); works.Next()) {
        const QString work = works.Fields(0).AsString();
        if (!work.isEmpty()) Combo_Work->addItem(work);
    }
}

void Tfrm_vipcard::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    openLists();
    // The scope is the session's, known only now.
    DBmaster_table->SetSQL(MasterSQL());
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    DBmaster_table->Open();
    ShowListPage();
}

void Tfrm_vipcard::FormShow() {
    Tbase_frmDictMdi::FormShow();
    ShowListPage();
}

bool Tfrm_vipcard::FormKeyPress(QKeyEvent& event) {
    // On the list page Enter is the grid's.
    if (PageControl1->currentWidget() == TabDetail && FocusNextOnEnter(event)) return true;
    return Tbase_frmDictMdi::FormKeyPress(event);
}

void Tfrm_vipcard::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_vipcard::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

void Tfrm_vipcard::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    const bool editing = Editing();
    batch_action->setEnabled(!editing && RightAdd);
    input_action->setEnabled(!editing && RightAdd);
    // The list stays on the member being edited until it is saved or dropped.
    cxGrid1->setEnabled(!DBmaster_table->InEditState());
}

// ---------------------------------------------------------------- record

void Tfrm_vipcard::append_actionExecute() {
    ShowDetailPage();
    Tbase_frmDictMdi::append_actionExecute();
    Edit_VipId->setFocus();
}

void Tfrm_vipcard::edit_actionExecute() {
    ShowDetailPage();
    Tbase_frmDictMdi::edit_actionExecute();
}

void Tfrm_vipcard::excel_actionExecute() {
    md::OpenReportForm(QStringLiteral("frm_re_vipcard"));
    WriteLog(QStringLiteral("导出"));
}

void Tfrm_vipcard::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    DBmaster_table->FieldByName(QStringLiteral("vipLBname")).OnChange = [this](TField& f) {
        gradeChosen(f);
    };
    ShowListPage();
}

void Tfrm_vipcard::gradeChosen(TField& field) {
    if (m_issuing) return;
    TRemoteUdpDataSet& ds = *DBmaster_table;
    // The category is chosen by its name; its id is what the card stores.
    const QString name = field.AsString();
    if (!DBviplb->Locate(QStringLiteral("vipLBname"), name, loCaseInsensitive)) return;
    ds.FieldByName(QStringLiteral("vipgrade"))
        .SetAsString(DBviplb->FieldByName(QStringLiteral("viplbid")).AsString());
    ds.FieldByName(QStringLiteral("discount"))
        .SetValue(DBviplb->FieldByName(QStringLiteral("discount")).Value());
}

void Tfrm_vipcard::showDiscount() {
    const TField* f =
        DBmaster_table->Active() ? DBmaster_table->FindField(QStringLiteral("discount")) : nullptr;
    const QString text = f && !f->IsNull() && !DBmaster_table->IsEmpty()
                             ? TField::formatNumber(f->AsFloat(), QStringLiteral("0.00"))
                             : QString();
    if (Edit_Discount->text() != text) Edit_Discount->setText(text);
}

void Tfrm_vipcard::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("amount")).SetAsInteger(0);
}

void Tfrm_vipcard::DBmaster_tableBeforePost() {
    if (m_issuing) return;  // issued cards are complete by construction
    TRemoteUdpDataSet& ds = *DBmaster_table;
    auto empty = [&ds](const char* field) {
        return ds.FieldByName(QString::fromLatin1(field)).AsString().trimmed().isEmpty();
    };
    if (empty("vipid")) {
        ShowDetailPage();
        Edit_VipId->setFocus();
        Refuse(QStringLiteral("VIP卡号不能为空！"));
    }
    if (empty("BegainDate") || empty("endDate")) {
        ShowDetailPage();
        Refuse(QStringLiteral("请选择生效日期与失效日期！"));
    }
    if (empty("VipGrade")) {
        ShowDetailPage();
        Combo_Grade->setFocus();
        Refuse(QStringLiteral("VIP类别不能为空！"));
    }
}

void Tfrm_vipcard::DBmaster_tableAfterPost() {
    // A new occupation joins the list offered next time.
    const QString work = DBmaster_table->FieldByName(QStringLiteral("workname")).AsString();
    if (!work.isEmpty() && Combo_Work->findText(work) < 0) Combo_Work->addItem(work);
}

// ---------------------------------------------------------------- batch issue and import

void Tfrm_vipcard::batch_actionExecute() {
    TVipBatchRequest request;
    {
        // Made for this batch only.
        Tfrm_VipBatch dialog(this);
        dialog.OpenLists();
        if (md::ui::ExecModal(dialog) != QDialog::Accepted) return;
        request = dialog.Request();
    }
    if (!md::ui::AskYesNo(QStringLiteral("是否确认批量发放VIP卡?"))) return;
    IssueCards(request);
}

QSet<QString> Tfrm_vipcard::existingCards(const TVipBatchRequest& request) const {
    // Every number of the range has the same prefix, width and suffix, so the
    // cards of the range sort between its first and last card.
    TRemoteUdpDataSet cards;
    md::OpenQuery(cards,
                  QStringLiteral("select vipid from dt_vipcard where upper(vipid)>=:first and "
                                 "upper(vipid)<=:last"),
                  {{QStringLiteral("first"), request.cardNumber(request.first)},
                   {QStringLiteral("last"), request.cardNumber(request.last)}});
    QSet<QString> taken;
    taken.reserve(cards.RecordCount());
    for (int row = 0; row < cards.RecordCount(); ++row)
        taken.insert(cards.valueAt(row, 0).toString().toUpper());
    // Cards in the list not saved yet count too.
    if (DBmaster_table->UpdatesPending()) {
        const int id = DBmaster_table->FieldByName(QStringLiteral("vipid")).Index();
        for (int row = 0; row < DBmaster_table->RecordCount(); ++row)
            taken.insert(DBmaster_table->valueAt(row, id).toString().toUpper());
    }
    return taken;
}

int Tfrm_vipcard::IssueCards(const TVipBatchRequest& request) {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active()) ds.Open();
    ds.CheckBrowseMode();
    const QSet<QString> taken = existingCards(request);

    // What every card of the batch shows in the list besides its number.
    const QString gradeName =
        DBviplb->Locate(QStringLiteral("viplbid"), request.grade, loCaseInsensitive)
            ? DBviplb->FieldByName(QStringLiteral("vipLBname")).AsString()
            : QString();
    const QVariant discount =
        gradeName.isEmpty() ? QVariant() : DBviplb->FieldByName(QStringLiteral("discount")).Value();
    const QString shopName =
        !request.shop.isEmpty() &&
                DBshop->Locate(QStringLiteral("fcode"), request.shop, loCaseInsensitive)
            ? DBshop->FieldByName(QStringLiteral("fabbrev")).AsString()
            : QString();

    TField& vipid = ds.FieldByName(QStringLiteral("vipid"));
    TField& name = ds.FieldByName(QStringLiteral("name"));
    TField& begin = ds.FieldByName(QStringLiteral("begaindate"));
    TField& end = ds.FieldByName(QStringLiteral("enddate"));
    TField& grade = ds.FieldByName(QStringLiteral("vipgrade"));
    TField& gradeNameField = ds.FieldByName(QStringLiteral("vipLBname"));
    TField& discountField = ds.FieldByName(QStringLiteral("discount"));
    TField& shop = ds.FieldByName(QStringLiteral("clientid"));
    TField& shopNameField = ds.FieldByName(QStringLiteral("fabbrev"));
    TField& amount = ds.FieldByName(QStringLiteral("amount"));

    int issued = 0;
    {
        TIssueProgress progress(ProgressBar1, request.count());
        TControlsDisabled still(ds);
        QScopedValueRollback issuing(m_issuing, true);
        int done = 0;
        for (qint64 n = request.first; n <= request.last; ++n) {
            progress.step(++done);
            const QString card = request.cardNumber(qint32(n));
            if (taken.contains(card.toUpper())) continue;
            ds.Append();
            vipid.SetAsString(card);
            name.SetAsString(QString());
            begin.SetAsString(request.beginDate);
            end.SetAsString(request.endDate);
            grade.SetAsString(request.grade);
            gradeNameField.SetAsString(gradeName);
            discountField.SetValue(discount);
            if (!request.shop.isEmpty()) {
                shop.SetAsString(request.shop);
                shopNameField.SetAsString(shopName);
            }
            amount.SetAsInteger(0);
            ds.Post();
            ++issued;
        }
        StatusBar1->showMessage(QStringLiteral("正在保存%1张VIP卡...").arg(issued));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // One batch for all of them; a failure keeps every new card cached.
    struct ClearMessage {
        QStatusBar* bar;
        ~ClearMessage() { bar->clearMessage(); }
    } clearMessage{StatusBar1};
    ds.UpdateBatch();
    UpdateActionState();
    return issued;
}

Tfrm_VipCarInput* Tfrm_vipcard::ImportForm() {
    if (!m_import) m_import = md::ui::CreateForm<Tfrm_VipCarInput>(this);
    return m_import;
}

void Tfrm_vipcard::input_actionExecute() {
    Tfrm_VipCarInput* form = ImportForm();
    md::ui::ExecModal(*form);
    // The imported members join the list, unless unsaved changes are waiting
    // there (reading the list again would drop them).
    if (DBmaster_table->Active() && !DBmaster_table->UpdatesPending()) {
        TBookmarkKept at(*DBmaster_table);
        DBmaster_table->Close();
        DBmaster_table->Open();
    }
    openLists();
}

MD_REGISTER_FORM(Tfrm_vipcard);
