#include "frm_ShopEmp_Class.h"

#include <QAction>
#include <QVBoxLayout>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "selectemp.h"
#include "session.h"
#include "sharedvalues.h"
#include "shoplist.h"
#include "styles.h"

using md::ui::Refuse;

Tfrm_ShopEmp_Class::Tfrm_ShopEmp_Class(QWidget* owner) : Tbase_frmMdi(owner) {
    setWindowTitle(QStringLiteral("营业员资料"));
    DBmaster_table->SetSQL(
        QStringLiteral("select a.*,b.fnamech,fsex,fdeptname,ftypename from Dt_ShopEmp a join "
                       "v_employee b on a.fempcode=b.fcode ") +
        QStringLiteral("where a.fclientcode=:fclientcode"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    ShopEmpUpdateSql = new TRemoteUpdateSql(this);
    ShopEmpUpdateSql->setObjectName(QStringLiteral("ShopEmpUpdateSql"));
    ShopEmpUpdateSql->InsertSQL = QStringLiteral(
        "insert  into "
        "Dt_ShopEmp(fclientcode,fempcode,fstrat)values(:fclientcode,:fempcode,:fstrat)");
    ShopEmpUpdateSql->ModifySQL = QStringLiteral(
        "update Dt_ShopEmp set fstrat=:fstrat where fclientcode=:fclientcode and "
        "fempcode=:fempcode");
    ShopEmpUpdateSql->DeleteSQL = QStringLiteral(
        "delete from Dt_ShopEmp where fclientcode=:fclientcode and fempcode=:fempcode");
    DBmaster_table->SetupDataObject(ShopEmpUpdateSql);

    cxGrid1 = new TDBGrid(ClientPanel, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid1);
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fempcode"), QStringLiteral("员工编号"))
        .width(100)
        .button([this](TGridColumn&) { fempcodeButtonClick(); })
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fsex"), QStringLiteral("性别")).width(50).readOnly();
    v->AddColumn(QStringLiteral("fdeptname"), QStringLiteral("所属部门")).width(120).readOnly();
    v->AddColumn(QStringLiteral("ftypename"), QStringLiteral("员工类别")).width(100).readOnly();
    v->AddColumn(QStringLiteral("fstrat"), QStringLiteral("启用")).width(50).checkBox();
    TGridViewOptions& options = v->Options();
    options.Footer = true;
    options.GoToNextCellOnEnter = true;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    v->ApplyOptions();
    v->SetInputAllowed(false);

    HideActions({find_action, print_action, excel_action});
    SetToolbar({first_action, prio_action, next_action, last_action, nullptr, append_action,
                edit_action, post_action, cacel_action, del_action, close_action});

    ShopList = new TShopList(ClientPanel);
    ShopList->PlaceBeside(cxGrid1);
    ShopList->OnShopChanged = [this](const QString& code) { showSalespersons(code); };
    resize(900, 520);
}

QString Tfrm_ShopEmp_Class::ShopsSQL() {
    return QStringLiteral(
               "select fcode,fabbrev,fmathod from dt_client where fcode in(select fclientcode "
               "from ba_squad)") +
           QChar(13) + md::ClientScopeCondition();
}

void Tfrm_ShopEmp_Class::FormCreate() {
    Tbase_frmMdi::FormCreate();
    md::ui::ApplySharedColours(this);
    DBmaster_table->Close();
    DBmaster_table->setSetupUdpParent(md::Session().Connection);
    ShopList->DBshop_table->SetSQL(ShopsSQL());
    ShopList->Open();
}

void Tfrm_ShopEmp_Class::showSalespersons(const QString& shopCode) {
    DBmaster_table->Close();
    DBmaster_table->ParamByName(QStringLiteral("fclientcode")).SetAsString(shopCode);
    DBmaster_table->Open();
    UpdateActionState();
}

void Tfrm_ShopEmp_Class::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    if (ShopList) ShopList->setEnabled(!DBmaster_table->InEditState());
}

void Tfrm_ShopEmp_Class::fempcodeButtonClick() {
    if (!DBmaster_table->InEditState()) return;
    // The rows are posted into the cache; 保存 stays enabled to send them.
    md::ui::AddSalespersons(*DBmaster_table, md::ui::PickEmployees(this), true);
}

void Tfrm_ShopEmp_Class::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fclientcode")).SetAsString(ShopList->CurrentCode());
    DBmaster_table->FieldByName(QStringLiteral("fstrat")).SetAsBoolean(true);
}

void Tfrm_ShopEmp_Class::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("fempcode")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请选择员工编号"));
}

MD_REGISTER_FORM(Tfrm_ShopEmp_Class);
