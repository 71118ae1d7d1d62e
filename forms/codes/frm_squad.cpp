#include "frm_squad.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sharedvalues.h"
#include "shoplist.h"

using md::ui::Refuse;

Tfrm_squad::Tfrm_squad(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("店铺班次设定"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_squad where fclientcode=:fclientcode"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fsquname"), QStringLiteral("班次名称")).width(120).upperCase();
    v->AddColumn(QStringLiteral("fbegintime"), QStringLiteral("上班时间")).width(90).time();
    v->AddColumn(QStringLiteral("fendtime"), QStringLiteral("下班时间")).width(90).time();
    v->AddColumn(QStringLiteral("finused"), QStringLiteral("启用否")).width(70).checkBox();

    ShopList = new TShopList(ClientPanel);
    ShopList->PlaceBeside(cxGrid1);
    ShopList->OnShopChanged = [this](const QString& code) { showShifts(code); };
    resize(820, 520);
}

void Tfrm_squad::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    ShopList->DBshop_table->SetSQL(
        QStringLiteral("select fcode,fabbrev,fmathod from dt_client where stratbit=1"));
    const QString scope = md::ClientScopeCondition();
    if (!scope.isEmpty()) ShopList->DBshop_table->AddSQL(scope);
    // Opening the list shows the first shop's shifts.
    ShopList->Open();
}

void Tfrm_squad::showShifts(const QString& shopCode) {
    DBmaster_table->Close();
    DBmaster_table->ParamByName(QStringLiteral("fclientcode")).SetAsString(shopCode);
    DBmaster_table->Open();
}

void Tfrm_squad::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    ShopList->setEnabled(true);
}

void Tfrm_squad::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("finused")).SetAsBoolean(true);
}

void Tfrm_squad::DBmaster_tableBeforeEdit() {
    // Inserting leaves the list enabled; editing holds it until save or cancel.
    ShopList->setEnabled(false);
}

void Tfrm_squad::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fclientcode")).SetAsString(ShopList->CurrentCode());
    if (ds.FieldByName(QStringLiteral("fsquname")).AsString().isEmpty())
        Refuse(QStringLiteral("班次名称不能为空"));
    if (ds.FieldByName(QStringLiteral("fbegintime")).AsString().isEmpty())
        Refuse(QStringLiteral("请录入上班时间"));
    if (ds.FieldByName(QStringLiteral("fendtime")).AsString().isEmpty())
        Refuse(QStringLiteral("请录入下班时间"));
}

void Tfrm_squad::post_actionExecute() {
    Tbase_frmDictMdi::post_actionExecute();
    ShopList->setEnabled(true);
}

void Tfrm_squad::cacel_actionExecute() {
    Tbase_frmDictMdi::cacel_actionExecute();
    ShopList->setEnabled(true);
}

MD_REGISTER_FORM(Tfrm_squad);
