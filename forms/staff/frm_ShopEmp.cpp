#include "frm_ShopEmp.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "selectemp.h"
#include "shoplist.h"

using md::ui::Refuse;

Tfrm_ShopEmp::Tfrm_ShopEmp(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("店铺营业员资料"));
    DBmaster_table->SetSQL(
        QStringLiteral("select a.*,b.fnamech,fsex,fdeptname,ftypename from Dt_ShopEmp a join "
                       "v_employee b on a.fempcode=b.fcode ") +
        QStringLiteral("where a.fclientcode=:fclientcode"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fempcode"), QStringLiteral("员工编号"))
        .width(100)
        .button([this](TGridColumn&) { fempcodeButtonClick(); })
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("fnamech"), QStringLiteral("员工姓名")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fsex"), QStringLiteral("性别")).width(50).readOnly();
    v->AddColumn(QStringLiteral("fdeptname"), QStringLiteral("所属部门")).width(120).readOnly();
    v->AddColumn(QStringLiteral("ftypename"), QStringLiteral("员工类别")).width(100).readOnly();

    ShopList = new TShopList(ClientPanel);
    ShopList->PlaceBeside(cxGrid1);
    ShopList->OnShopChanged = [this](const QString& code) { showSalespersons(code); };
    resize(860, 520);
}

void Tfrm_ShopEmp::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    ShopList->DBshop_table->SetSQL(QStringLiteral("select fcode,fabbrev,fmathod from dt_client"));
    ShopList->Open();
}

void Tfrm_ShopEmp::showSalespersons(const QString& shopCode) {
    DBmaster_table->Close();
    DBmaster_table->ParamByName(QStringLiteral("fclientcode")).SetAsString(shopCode);
    DBmaster_table->Open();
}

void Tfrm_ShopEmp::fempcodeButtonClick() {
    // The button works only on a row being edited or inserted.
    if (!DBmaster_table->InEditState()) return;
    md::ui::AddSalespersons(*DBmaster_table, md::ui::PickEmployees(this), false);
}

void Tfrm_ShopEmp::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    ShopList->setEnabled(true);
}

// While a salesperson row is edited the shop stays put: its rows are the ones saved.
void Tfrm_ShopEmp::DBmaster_tableBeforeInsert() {
    ShopList->setEnabled(false);
}

// Not shown here, but a salesperson added is one at work.
void Tfrm_ShopEmp::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fstrat")).SetAsBoolean(true);
}

void Tfrm_ShopEmp::DBmaster_tableBeforeEdit() {
    ShopList->setEnabled(false);
}

void Tfrm_ShopEmp::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.State() == dsInsert)
        ds.FieldByName(QStringLiteral("fclientcode")).SetAsString(ShopList->CurrentCode());
    if (ds.FieldByName(QStringLiteral("fempcode")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请选择员工编号"));
}

void Tfrm_ShopEmp::post_actionExecute() {
    Tbase_frmDictMdi::post_actionExecute();
    ShopList->setEnabled(true);
}

void Tfrm_ShopEmp::cacel_actionExecute() {
    Tbase_frmDictMdi::cacel_actionExecute();
    ShopList->setEnabled(true);
}

MD_REGISTER_FORM(Tfrm_ShopEmp);
