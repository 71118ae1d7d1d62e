#include "frm_ClientAssets.h"

#include <cmath>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "session.h"
#include "sharedvalues.h"

using md::ui::Refuse;

namespace {

QString negativeMessage(const QString& caption) {
    return caption + QStringLiteral("不能为负数!");
}

// What a quantity or price cell takes while typed: a number, not below zero.
std::function<QString(const QString&)> numberCheck(const QString& caption) {
    return [caption](const QString& text) -> QString {
        const QString typed = text.trimmed();
        if (typed.isEmpty()) return QString();
        bool isNumber = false;
        const double value = typed.toDouble(&isNumber);
        if (!isNumber) return caption + QStringLiteral("必须是数字!");
        return value < 0 ? negativeMessage(caption) : QString();
    };
}

// The same for values that reach the field another way (a paste): refused,
// the field keeping its value.
std::function<void(TField&)> notNegative(const QString& caption) {
    return [caption](TField& field) {
        if (!field.IsNull() && field.AsFloat() < 0) Refuse(negativeMessage(caption));
    };
}

}  // namespace

Tfrm_ClientAssets::Tfrm_ClientAssets(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("店铺固定资产列表"));
    DBshop_table = new TRemoteUdpDataSet(QStringLiteral("DBshop_table"), this);
    DBshop_table->SetLockType(etOptimistic);

    AssetsUpdateSql = new TRemoteUpdateSql(this);
    AssetsUpdateSql->setObjectName(QStringLiteral("AssetsUpdateSql"));
    AssetsUpdateSql->InsertSQL =
        QStringLiteral(
            "insert into Dt_Clientassets(fclientcode,fassetsname,fqty,fbalancprice,"
            "fremark)") +
        QLatin1Char('\n') +
        QStringLiteral("values(:fclientcode,:fassetsname,:fqty,:fbalancprice,:fremark)");
    AssetsUpdateSql->ModifySQL =
        QStringLiteral(
            "update Dt_Clientassets set fclientcode=:fclientcode,"
            "fassetsname=:fassetsname,fqty=:fqty,fbalancprice=:fbalancprice,"
            "fremark=:fremark") +
        QLatin1Char('\n') + QStringLiteral("where fautoid=:fautoid");
    AssetsUpdateSql->DeleteSQL =
        QStringLiteral("delete from Dt_Clientassets where fautoid=:fautoid");
    DBmaster_table->SetupDataObject(AssetsUpdateSql);
    m_sumto = &DBmaster_table->AddCalcField(QStringLiteral("sumto"), ftCurrency);
    DBmaster_table->OnCalcFields = [this](TRemoteUdpDataSet& row) { calcAmount(row); };

    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fclientcode"), QStringLiteral("店铺编号"))
        .width(90)
        .upperCase()
        .lookup(
            DBshop_table, QStringLiteral("fcode"),
            {QStringLiteral("fcode"), QStringLiteral("fabbrev"), QStringLiteral("fmathod")},
            {QStringLiteral("店铺编号"), QStringLiteral("店铺简称"), QStringLiteral("店铺性质")})
        .footer(TSummaryKind::Count, QStringLiteral("合计"));
    v->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("店铺简称")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fmathod"), QStringLiteral("店铺性质")).width(72).readOnly();
    v->AddColumn(QStringLiteral("fassetsName"), QStringLiteral("固定资产名称"))
        .width(150)
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    v->AddColumn(QStringLiteral("fbalancprice"), QStringLiteral("单价"))
        .width(80)
        .currency(QStringLiteral("0.00"))
        .inputCheck(numberCheck(QStringLiteral("单价")));
    v->AddColumn(QStringLiteral("fqty"), QStringLiteral("数量"))
        .width(64)
        .currency(QStringLiteral("0.##"))
        .footer(TSummaryKind::Sum, QStringLiteral("0.##"))
        .inputCheck(numberCheck(QStringLiteral("数量")));
    v->AddColumn(QStringLiteral("sumto"), QStringLiteral("金额"))
        .width(96)
        .readOnly()
        .currency(QStringLiteral("0.00"))
        .footer(TSummaryKind::Sum, QStringLiteral("0.00"));
    v->AddColumn(QStringLiteral("fremark"), QStringLiteral("备注")).width(180);
    HideActions({first_action, prio_action, next_action, last_action});
    ShowActions({print_action});
    resize(860, 520);
}

QString Tfrm_ClientAssets::ShopListSQL() {
    return QStringLiteral("select fcode,fabbrev,fmathod from dt_client where 1=1") +
           md::ClientScopeCondition() +
           QStringLiteral(" and fcode in(select fclientcode from ba_squad)");
}

QString Tfrm_ClientAssets::MasterSQL() {
    return QStringLiteral(
               "select a.*,b.fabbrev,b.fmathod from dbo.Dt_Clientassets a left join dt_client b "
               "on a.fclientcode=b.fcode where 1=1") +
           md::ClientScopeCondition(QStringLiteral("a.fclientcode"));
}

void Tfrm_ClientAssets::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    // The scope is the session's, known only now.
    md::OpenQuery(*DBshop_table, ShopListSQL());
    DBmaster_table->SetSQL(MasterSQL());
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    DBmaster_table->Open();
}

void Tfrm_ClientAssets::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fclientcode")).OnChange = [this](TField& f) { shopChanged(f); };
    ds.FieldByName(QStringLiteral("fqty")).OnValidate = notNegative(QStringLiteral("数量"));
    ds.FieldByName(QStringLiteral("fbalancprice")).OnValidate = notNegative(QStringLiteral("单价"));
}

void Tfrm_ClientAssets::DBmaster_tableNewRecord() {
    // The table's own defaults: the insert writes every column, nulls too.
    DBmaster_table->FieldByName(QStringLiteral("fqty")).SetAsFloat(0);
    DBmaster_table->FieldByName(QStringLiteral("fbalancprice")).SetAsFloat(0);
}

void Tfrm_ClientAssets::calcAmount(TRemoteUdpDataSet& row) {
    // The quantity counts as a whole number of pieces.
    const double amount = double(row.FieldByName(QStringLiteral("fqty")).AsInteger()) *
                          row.FieldByName(QStringLiteral("fbalancprice")).AsFloat();
    m_sumto->SetAsFloat(std::round(amount * 100.0) / 100.0);
}

void Tfrm_ClientAssets::shopChanged(TField& field) {
    if (m_settingShop) return;
    m_settingShop = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_settingShop};
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString code = field.AsString();
    const bool listed = !code.isEmpty() && DBshop_table->Active() &&
                        DBshop_table->Locate(QStringLiteral("fcode"), code, loCaseInsensitive);
    if (listed) {
        // The code as the shop list spells it.
        field.SetAsString(DBshop_table->FieldByName(QStringLiteral("fcode")).AsString());
        ds.FieldByName(QStringLiteral("fabbrev"))
            .SetValue(DBshop_table->FieldByName(QStringLiteral("fabbrev")).Value());
        ds.FieldByName(QStringLiteral("fmathod"))
            .SetValue(DBshop_table->FieldByName(QStringLiteral("fmathod")).Value());
    } else {
        ds.FieldByName(QStringLiteral("fabbrev")).Clear();
        ds.FieldByName(QStringLiteral("fmathod")).Clear();
    }
}

void Tfrm_ClientAssets::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const TField& shop = ds.FieldByName(QStringLiteral("fclientcode"));
    const QString code = shop.AsString().trimmed();
    if (code.isEmpty()) Refuse(QStringLiteral("请选择店铺编号!"));
    // A shop code set now must be one of the listed shops; a saved row keeps
    // its shop even when that shop has left the list since.
    const bool fresh = ds.State() == dsInsert || ds.UpdateStatus() == usInserted;
    if ((fresh || code.compare(shop.OldValue().toString(), Qt::CaseInsensitive) != 0) &&
        !(DBshop_table->Active() &&
          DBshop_table->Locate(QStringLiteral("fcode"), code, loCaseInsensitive)))
        Refuse(QStringLiteral("请选择店铺编号!"));
    if (ds.FieldByName(QStringLiteral("fassetsname")).AsString().trimmed().isEmpty())
        Refuse(QStringLiteral("请输入固定资产名称!"));
}

MD_REGISTER_FORM(Tfrm_ClientAssets);
