#include "frm_supplier.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "codes/frm_ptype.h"
#include "datasource.h"
#include "dbchecks.h"
#include "dbcontrols.h"
#include "editors.h"
#include "fieldpanel.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "reportbridge.h"
#include "routines.h"
#include "scopes.h"
#include "session.h"
#include "sqlquote.h"
#include "typedinput.h"

using namespace md::ui;

namespace {

const QChar CR(13);

// The columns of the insert statement, in its three lines; the update sets
// all of them but the key fid.
const char* const kInsertLines[][15] = {
    {"fid", "fcode", "fname", "fabbrev", "fsortcode", "fareacode", "keyman", "contactman", "tel1",
     "tel2", "fax", "http", "email", "taxcode", "invoice_name"},
    {"invoice_addres", "addres", "zipcode", "remark", "taxrate", "begindate", "first_amount",
     "stratbit", "bank_name", "bank_no", "yfk_code1", "yfk_code2", "category", "fcreatedate"},
    {"fregmoney", "fempqty", "fgoodsstyle", "fgoodsqty", "fyearmoney", "fgoodsitem"}};

QStringList insertLine(int line, bool asParameters) {
    QStringList names;
    for (const char* column : kInsertLines[line]) {
        if (!column) break;
        names << (asParameters ? QStringLiteral(":") : QString()) + QString::fromLatin1(column);
    }
    return names;
}

// The category chosen by its name; the record keeps its code (ba_Ptype.fCode).
class TCategoryBox : public QComboBox {
  public:
    TCategoryBox(TDataSource* source, const QString& fieldName)
        : m_link(new TFieldDataLink(source, fieldName, this, [this] { showField(); })) {
        setObjectName(QStringLiteral("DBCategory_") + fieldName);
        connect(this, &QComboBox::activated, this, [this](int index) {
            const QString code = itemData(index).toString();
            if (m_link->showing() || code == currentCode()) return;
            m_link->Write([&code](TField& f) { f.SetAsString(code); });
        });
    }
    // Items: the name of every category, each carrying its code.
    void setList(TRemoteUdpDataSet& categories) {
        clear();
        for (categories.First(); !categories.Eof(); categories.Next())
            addItem(categories.FieldByName(QStringLiteral("fName")).AsString(),
                    categories.FieldByName(QStringLiteral("fCode")).AsString());
        m_link->Show();
    }

  private:
    QString currentCode() const {
        const TField* f = m_link->Field();
        return f ? f->AsString() : QString();
    }
    void showField() {
        setEnabled(m_link->CanModify());
        const QString code = currentCode();
        setCurrentIndex(code.isEmpty() ? -1 : findData(code));
    }

    TFieldDataLink* m_link;
};

QWidget* withButton(QWidget* editor, QToolButton* button) {
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    editor->setParent(box);
    button->setParent(box);
    layout->addWidget(editor, 1);
    layout->addWidget(button);
    return box;
}

QGroupBox* group(const QString& title, TFieldPanel* panel, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 4, 6, 6);
    panel->setParent(box);
    layout->addWidget(panel);
    return box;
}

}  // namespace

// ---------------------------------------------------------------- statements

QString Tfrm_supplier::InsertSQL() {
    return QStringLiteral("insert into dt_supplier(") +
           insertLine(0, false).join(QLatin1Char(',')) + QStringLiteral(",") + CR +
           insertLine(1, false).join(QLatin1Char(',')) + QStringLiteral(",") + CR +
           insertLine(2, false).join(QLatin1Char(',')) + QStringLiteral(")") + CR +
           QStringLiteral("values") + CR + QStringLiteral("(") +
           insertLine(0, true).join(QLatin1Char(',')) + QStringLiteral(",") + CR +
           insertLine(1, true).join(QLatin1Char(',')) + QStringLiteral(",") + CR +
           insertLine(2, true).join(QLatin1Char(',')) + QStringLiteral(")");
}

QString Tfrm_supplier::ModifySQL() {
    QStringList sets;
    for (int line = 0; line < 3; ++line)
        for (const QString& column : insertLine(line, false))
            if (column != QLatin1String("fid")) sets << column + QStringLiteral("=:") + column;
    return QStringLiteral("update dt_supplier set ") + sets.join(QLatin1Char(',')) +
           QStringLiteral(" where fid=:fid");
}

QString Tfrm_supplier::DeleteSQL() {
    // The quotes go with their supplier: a code used again must not find them.
    return QStringLiteral("delete from dt_supplier where fid=:fid") + CR +
           QStringLiteral("delete from Dt_SupplierPrice where fsuppliercode=:fcode");
}

QString Tfrm_supplier::DocumentsSQL(const QString& code) {
    const QString c = SqlText(code);
    return QStringLiteral("select top 1 fsuppliercode from d_receving where fsuppliercode='") + c +
           QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fsuppliercode from d_purchase where fsuppliercode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fsuppliercode from d_chargess where fsuppliercode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR + QStringLiteral("union all") + CR +
           QStringLiteral("select top 1 fsuppliercode from d_payments where fsuppliercode=") +
           QStringLiteral("'") + c + QStringLiteral("'") + CR;
}

// ---------------------------------------------------------------- description

Tfrm_supplier::Tfrm_supplier(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("供应商资料"));
    DBmaster_table->SetSQL(QStringLiteral("select * from dt_supplier"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    SupplierUpdateSql = new TRemoteUpdateSql(this);
    SupplierUpdateSql->setObjectName(QStringLiteral("SupplierUpdateSql"));
    SupplierUpdateSql->InsertSQL = InsertSQL();
    SupplierUpdateSql->ModifySQL = ModifySQL();
    SupplierUpdateSql->DeleteSQL = DeleteSQL();
    DBmaster_table->SetupDataObject(SupplierUpdateSql);
    // The detail page edits only after 新增 or 修改.
    DbMaster_Source->SetAutoEdit(false);
    DBptype = new TRemoteUdpDataSet(QStringLiteral("DBptype"), this);
    DBarea = new TRemoteUdpDataSet(QStringLiteral("DBarea"), this);
    DBclient = new TRemoteUdpDataSet(QStringLiteral("DBclient"), this);

    // The record editor's grid is the list page's.
    ClientPanel->layout()->removeWidget(cxGrid1);
    PageControl1 = new QTabWidget(ClientPanel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    ClientPanel->layout()->addWidget(PageControl1);
    TabList = new QWidget(PageControl1);
    TabList->setObjectName(QStringLiteral("TabList"));
    TabDetail = new QWidget(PageControl1);
    TabDetail->setObjectName(QStringLiteral("TabDetail"));
    PageControl1->addTab(TabList, QStringLiteral("列表"));
    PageControl1->addTab(TabDetail, QStringLiteral("详细说明"));
    buildListPage();
    buildDetailPage();
    HideActions({first_action, prio_action, next_action, last_action});
    resize(980, 640);
}

void Tfrm_supplier::buildListPage() {
    auto* layout = new QVBoxLayout(TabList);
    layout->setContentsMargins(2, 2, 2, 2);
    cxGrid1->setParent(TabList);
    layout->addWidget(cxGrid1);
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(70).readOnly();
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("简称")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fname"), QStringLiteral("名称"))
        .width(220)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("contactman"), QStringLiteral("联系人")).width(64).readOnly();
    v->AddColumn(QStringLiteral("tel1"), QStringLiteral("联系电话1")).width(110).readOnly();
    v->AddColumn(QStringLiteral("tel2"), QStringLiteral("联系电话2")).width(100).readOnly();
    v->AddColumn(QStringLiteral("fax"), QStringLiteral("传真号码")).width(110).readOnly();
    v->AddColumn(QStringLiteral("stratbit"), QStringLiteral("启用否"))
        .width(56)
        .checkBox()
        .readOnly();
    v->AddColumn(QStringLiteral("Category"), QStringLiteral("是否成品供应商"))
        .width(104)
        .checkBox()
        .readOnly();
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    v->ApplyOptions();
    connect(v, &QAbstractItemView::doubleClicked, this, [this] {
        Run([this] {
            if (DBmaster_table->Active() && !DBmaster_table->IsEmpty()) ShowDetailPage();
        });
    });
}

void Tfrm_supplier::buildDetailPage() {
    auto* area = new QScrollArea(TabDetail);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    area->setWidget(content);
    auto* pageLayout = new QVBoxLayout(TabDetail);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(area);
    auto* layout = new QVBoxLayout(content);

    TDataSource* src = DbMaster_Source;
    auto* basic = new TFieldPanel(src, 3);
    Edit_Code = &basic->AddEdit(QStringLiteral("编   号:"), QStringLiteral("fcode"));
    Edit_Abbrev = &basic->AddEdit(QStringLiteral("简   称:"), QStringLiteral("fabbrev"));
    auto* category = new TCategoryBox(src, QStringLiteral("fsortcode"));
    Combo_Sort = category;
    But_Sort = new QToolButton;
    But_Sort->setObjectName(QStringLiteral("But_Sort"));
    But_Sort->setText(QStringLiteral("..."));
    But_Sort->setToolTip(QStringLiteral("供应商类别"));
    OnClick(But_Sort, [this] { But_SortClick(); });
    basic->AddEditor(QStringLiteral("类   别:"), withButton(category, But_Sort),
                     QStringLiteral("fsortcode"));
    Edit_Name = &basic->AddEdit(QStringLiteral("全   称:"), QStringLiteral("fname"), true);
    basic->AddEdit(QStringLiteral("负责人:"), QStringLiteral("keyman"));
    basic->AddEdit(QStringLiteral("联系人:"), QStringLiteral("contactman"));
    basic->AddEdit(QStringLiteral("联系电话:"), QStringLiteral("tel1"));
    basic->AddEdit(QStringLiteral("手机号码:"), QStringLiteral("tel2"));
    basic->AddEdit(QStringLiteral("传真号码:"), QStringLiteral("fax"));
    basic->AddEdit(QStringLiteral("邮政编码:"), QStringLiteral("zipcode"));
    basic->AddEdit(QStringLiteral("网    址:"), QStringLiteral("http"));
    basic->AddEdit(QStringLiteral("电子邮箱:"), QStringLiteral("email"));
    Lookup_Client = new TDBLookupComboBox(src, QStringLiteral("yfk_code2"));
    Lookup_Client->lineEdit()->setValidator(new TUpperCaseValidator(Lookup_Client));
    basic->AddEditor(QStringLiteral("对应客户:"), Lookup_Client, QStringLiteral("yfk_code2"));
    basic->AddEdit(QStringLiteral("地    址:"), QStringLiteral("addres"), true);
    basic->AddEdit(QStringLiteral("银行名称:"), QStringLiteral("bank_name"));
    basic->AddEdit(QStringLiteral("银行帐号:"), QStringLiteral("bank_no"));
    basic->AddCheckBox(QStringLiteral("启用否"), QStringLiteral("stratbit"));
    basic->AddCheckBox(QStringLiteral("是否成品供应商"), QStringLiteral("Category"));
    layout->addWidget(group(QStringLiteral("基本资料"), basic, content));

    auto* factory = new TFieldPanel(src, 3);
    factory->AddEditor(QStringLiteral("成立时间:"),
                       new TDBDateEdit(src, QStringLiteral("fcreatedate")),
                       QStringLiteral("fcreatedate"));
    Edit_RegMoney = new TDBNumberEdit(src, QStringLiteral("fregmoney"), 2);
    factory->AddEditor(QStringLiteral("注册资本:"), Edit_RegMoney, QStringLiteral("fregmoney"));
    Edit_EmpQty = new TDBNumberEdit(src, QStringLiteral("fempqty"), 0);
    factory->AddEditor(QStringLiteral("员工人数:"), Edit_EmpQty, QStringLiteral("fempqty"));
    factory->AddEdit(QStringLiteral("产品风格:"), QStringLiteral("fgoodsstyle"));
    factory->AddEdit(QStringLiteral("工厂产量:"), QStringLiteral("fgoodsqty"));
    Edit_YearMoney = new TDBNumberEdit(src, QStringLiteral("fyearmoney"), 2);
    factory->AddEditor(QStringLiteral("营业总额:"), Edit_YearMoney, QStringLiteral("fyearmoney"));
    factory->AddMemo(QStringLiteral("经营项目:"), QStringLiteral("fgoodsitem"));
    layout->addWidget(group(QStringLiteral("工厂概况"), factory, content));

    auto* notes = new TFieldPanel(src, 1);
    notes->AddMemo(QStringLiteral("备   注:"), QStringLiteral("remark"));
    layout->addWidget(notes);
    layout->addStretch(1);

    m_codeCheck = new TTypedConfirmation(Edit_Code, [this] { CodeConfirmed(); });
    m_abbrevCheck = new TTypedConfirmation(Edit_Abbrev, [this] { AbbrevConfirmed(); });
}

// ---------------------------------------------------------------- creation, pages, keys

void Tfrm_supplier::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    loadCategories();
    md::OpenQuery(*DBarea, QStringLiteral("select * from ba_area"));
    md::OpenQuery(*DBclient, QStringLiteral("select fcode,fabbrev from dt_client"));
    Lookup_Client->setList(DBclient, QStringLiteral("fcode"),
                           {QStringLiteral("fcode"), QStringLiteral("fabbrev")},
                           {QStringLiteral("编号"), QStringLiteral("简称")});
    DBmaster_table->Close();
    DBmaster_table->Open();
    ShowListPage();
}

void Tfrm_supplier::loadCategories() {
    md::OpenQuery(*DBptype, QStringLiteral("select * from ba_ptype"));
    static_cast<TCategoryBox*>(Combo_Sort)->setList(*DBptype);
}

void Tfrm_supplier::ShowListPage() {
    PageControl1->setCurrentWidget(TabList);
}

void Tfrm_supplier::ShowDetailPage() {
    PageControl1->setCurrentWidget(TabDetail);
}

bool Tfrm_supplier::FormKeyPress(QKeyEvent& event) {
    // On the list page Enter is the grid's.
    if (PageControl1->currentWidget() == TabDetail && FocusNextOnEnter(event)) return true;
    return Tbase_frmDictMdi::FormKeyPress(event);
}

void Tfrm_supplier::UpdateActionState() {
    Tbase_frmDictMdi::UpdateActionState();
    // The list only shows; it stays on the supplier being edited until saved or dropped.
    cxGrid1DBTableView1->SetInputAllowed(false);
    cxGrid1->setEnabled(!DBmaster_table->InEditState());
    But_Sort->setEnabled(Editing());
}

void Tfrm_supplier::But_SortClick() {
    QPointer<Tfrm_Ptype> categories = CreateForm<Tfrm_Ptype>(this);
    ExecModal(*categories);
    if (categories) categories->deleteLater();
    loadCategories();
}

// ---------------------------------------------------------------- the code and the short name

void Tfrm_supplier::PostPendingEdits() {
    Tbase_frmDictMdi::PostPendingEdits();
    // 保存 pressed straight after typing confirms the boxes as leaving them would.
    m_codeCheck->ConfirmTyped();
    m_abbrevCheck->ConfirmTyped();
}

QString Tfrm_supplier::savedCode() const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active() || ds.IsEmpty() || ds.State() == dsInsert || ds.UpdateStatus() == usInserted)
        return QString();
    return ds.FieldByName(QStringLiteral("fcode")).OldValue().toString();
}

void Tfrm_supplier::CodeConfirmed() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.InEditState()) return;
    const QString code = Edit_Code->text();
    if (code.isEmpty()) return;
    bool taken = false;
    if (ds.State() == dsInsert)
        taken =
            QueryReturnsRow(QStringLiteral("select top 1 fcode from dt_supplier where fcode='") +
                            SqlText(code) + QStringLiteral("'"));
    else if (code != savedCode())
        // A saved supplier may change its code, but not to another supplier's.
        taken = QueryReturnsRow(
            QStringLiteral("select top 1 fcode from dt_supplier where fcode=:fcode and fid<>:fid"),
            {{QStringLiteral("fcode"), code},
             {QStringLiteral("fid"), ds.FieldByName(QStringLiteral("fid")).AsString()}});
    if (!taken) return;
    ds.FieldByName(QStringLiteral("fcode")).SetAsString(savedCode());
    refuseAt(Edit_Code, QStringLiteral("此供应商编号已存在，请重新录入！"));
}

void Tfrm_supplier::AbbrevConfirmed() {
    if (!DBmaster_table->InEditState()) return;
    const QString abbrev = Edit_Abbrev->text();
    if (abbrev.isEmpty()) return;
    if (QueryReturnsRow(QStringLiteral("select top 1 fabbrev from dt_supplier where fabbrev='") +
                        SqlText(abbrev) + QStringLiteral("'") + QStringLiteral(" and fcode<>") +
                        QStringLiteral("'") + SqlText(Edit_Code->text()) + QStringLiteral("'")))
        MessageBox(QStringLiteral("已经存在此简称的供应商!"));  // a warning: the name stays
}

// ---------------------------------------------------------------- record

void Tfrm_supplier::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("Category")).SetAsBoolean(true);
    TRemoteUdpDataSet key;
    md::OpenQuery(key, QStringLiteral("select top 1 * from dbo.V_GetPassWord12"));
    ds.FieldByName(QStringLiteral("fid"))
        .SetAsString(key.IsEmpty() ? QString() : key.Fields(0).AsString());
    ds.FieldByName(QStringLiteral("stratbit")).SetAsBoolean(true);
    ds.FieldByName(QStringLiteral("Taxrate")).SetAsFloat(0);
    ds.FieldByName(QStringLiteral("first_amount")).SetAsFloat(0);
}

void Tfrm_supplier::refuseAt(QWidget* editor, const QString& text) {
    ShowDetailPage();
    editor->setFocus();
    Refuse(text);
}

void Tfrm_supplier::checkNumbers() {
    const struct {
        TDBNumberEdit* box;
        const char* caption;
        TNumberKind kind;
    } numbers[] = {{Edit_RegMoney, "注册资本", TNumberKind::Decimal},
                   {Edit_EmpQty, "员工人数", TNumberKind::Whole},
                   {Edit_YearMoney, "营业总额", TNumberKind::Decimal}};
    for (const auto& n : numbers) {
        const QString problem =
            NumberInputProblem(QString::fromUtf8(n.caption), n.box->text(), n.kind);
        if (!problem.isEmpty()) refuseAt(n.box, problem);
    }
}

void Tfrm_supplier::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    auto empty = [&ds](const char* name) {
        return ds.FieldByName(QString::fromLatin1(name)).AsString().trimmed().isEmpty();
    };
    if (empty("fcode")) refuseAt(Edit_Code, QStringLiteral("供应商编号不能为空！"));
    if (empty("fabbrev")) refuseAt(Edit_Abbrev, QStringLiteral("供应商简称不能为空！"));
    if (empty("fname")) refuseAt(Edit_Name, QStringLiteral("供应商名称不能为空！"));
    checkNumbers();
}

// ---------------------------------------------------------------- actions

void Tfrm_supplier::append_actionExecute() {
    ShowDetailPage();
    Tbase_frmMdi::append_actionExecute();
    Edit_Code->setFocus();
}

void Tfrm_supplier::edit_actionExecute() {
    if (!DBmaster_table->Active() || DBmaster_table->IsEmpty()) Abort();
    ShowDetailPage();
    Tbase_frmDictMdi::edit_actionExecute();
    Edit_Abbrev->setFocus();
}

void Tfrm_supplier::post_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.InEditState()) ds.Post();
    // The code the documents hold, and the one the supplier has now.
    const QString oldCode = savedCode();
    const QString newCode =
        ds.IsEmpty() ? QString() : ds.FieldByName(QStringLiteral("fcode")).AsString();
    {
        // The supplier and its new code in the documents together, or neither.
        TTransactionScope transaction(*md::Session().Connection);
        ds.UpdateBatch();
        if (!oldCode.isEmpty() && !newCode.isEmpty() && oldCode != newCode)
            md::ExecuteSQL(QStringLiteral("exec P_replaceSupplier '") + SqlText(oldCode) +
                           QStringLiteral("'") + QStringLiteral(",") + QStringLiteral("'") +
                           SqlText(newCode) + QStringLiteral("'"));
        transaction.commit();
    }
    UpdateActionState();
    WriteLog(QStringLiteral("保存"));
}

void Tfrm_supplier::cacel_actionExecute() {
    Tbase_frmDictMdi::cacel_actionExecute();
    m_codeCheck->Forget();
    m_abbrevCheck->Forget();
}

void Tfrm_supplier::del_actionExecute() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (!ds.Active() || ds.IsEmpty()) Abort();
    if (QueryReturnsRow(DocumentsSQL(ds.FieldByName(QStringLiteral("fcode")).AsString())))
        Refuse(QStringLiteral("不能删除已经发生业务的供应商档案!"));
    Tbase_frmDictMdi::del_actionExecute();
}

void Tfrm_supplier::excel_actionExecute() {
    md::OpenReportForm(QStringLiteral("frm_re_supplier"));
    UpdateActionState();
    WriteLog(QStringLiteral("导出"));
}

MD_REGISTER_FORM(Tfrm_supplier);
