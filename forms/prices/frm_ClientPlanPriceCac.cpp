#include "frm_ClientPlanPriceCac.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "editors.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "session.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

// The module's reference to the open window; emptied when it is freed.
QPointer<Tfrm_ClientPlanPriceCac> g_shopCac;

QString quoted(const QString& value) {
    return QStringLiteral("'") + SqlText(value) + QStringLiteral("'");
}

}  // namespace

Tfrm_ClientPlanPriceCac::Tfrm_ClientPlanPriceCac(QWidget* owner)
    : TCostRecalcForm(owner, QStringLiteral("店铺成本价重算")) {
    DBshop = new TRemoteUdpDataSet(QStringLiteral("DBshop"), this);
    Lookup_shop = new md::ui::TLookupCombo(Panel_top);
    Lookup_shop->setObjectName(QStringLiteral("Lookup_shop"));
    Lookup_shop->setMinimumWidth(130);
    ChooserRow()->insertWidget(0, new QLabel(QStringLiteral("店铺选择:"), Panel_top));
    ChooserRow()->insertWidget(1, Lookup_shop);
    ChooserRow()->insertSpacing(2, 16);
    connect(Lookup_shop, &QComboBox::currentTextChanged, this,
            [this] { Run([this] { Lookup_shopChange(); }); });

    CostUpdateSql = new TRemoteUpdateSql(this);
    CostUpdateSql->setObjectName(QStringLiteral("CostUpdateSql"));
    CostUpdateSql->InsertSQL = QStringLiteral(
        "insert into "
        "dt_clientplanprice(fclientcode,fgoodsid,fplanprice)values(:fclientcode,:fgoodsid,:"
        "fplanprice)");
    CostUpdateSql->ModifySQL = QStringLiteral(
        "update dt_clientplanprice set "
        "fclientcode=:fclientcode,fgoodsid=:fgoodsid,fplanprice=:fplanprice WHERE "
        "fautoid=:fautoid");
    CostUpdateSql->DeleteSQL =
        QStringLiteral("delete from dt_clientplanprice where fautoid=:fautoid");
}

Tfrm_ClientPlanPriceCac* Tfrm_ClientPlanPriceCac::ShowFor(QWidget* owner) {
    if (!g_shopCac) g_shopCac = md::ui::CreateForm<Tfrm_ClientPlanPriceCac>(owner);
    md::ui::ShowModeless(*g_shopCac);
    return g_shopCac;
}

QString Tfrm_ClientPlanPriceCac::ShopListSQL() {
    return QStringLiteral(
               "select a.fcode,a.fabbrev,a.fname,a.fmathod,a.fgrad,b.fname as areaname from "
               "dt_client a left join ba_area b on a.fareacode=b.fcode where a.stratbit=1 ") +
           md::ClientScopeCondition(QStringLiteral("a.fcode")) +
           QStringLiteral(" and a.fcode in(select fclientcode from ba_squad)");
}

void Tfrm_ClientPlanPriceCac::FormCreate() {
    TCostRecalcForm::FormCreate();
    md::OpenQuery(*DBshop, ShopListSQL());
    Lookup_shop->setList(DBshop, QStringLiteral("fcode"),
                         {QStringLiteral("fcode"), QStringLiteral("fabbrev"),
                          QStringLiteral("fmathod"), QStringLiteral("areaname")},
                         {QStringLiteral("店铺编号"), QStringLiteral("店铺简称"),
                          QStringLiteral("店铺性质"), QStringLiteral("地区")});
    Lookup_shop->setKeyValue(QString());
    Combo_date->clear();
}

void Tfrm_ClientPlanPriceCac::FormDestroy() {
    TCostRecalcForm::FormDestroy();
    if (g_shopCac == this) g_shopCac = nullptr;
}

QString Tfrm_ClientPlanPriceCac::chosenShop() const {
    const QString typed = Lookup_shop->keyValue().trimmed();
    if (typed.isEmpty() || !DBshop->Active()) return QString();
    // Codes compare as the database compares them; the list's own spelling is used.
    const QVariant code = DBshop->Lookup(QStringLiteral("fcode"), typed, QStringLiteral("fcode"));
    return code.toString().compare(typed, Qt::CaseInsensitive) == 0 ? code.toString() : QString();
}

void Tfrm_ClientPlanPriceCac::Lookup_shopChange() {
    const QString shop = chosenShop();
    if (shop == m_datesOf) return;
    m_datesOf = shop;
    if (shop.isEmpty()) {
        Combo_date->clear();
        return;
    }
    FillOpeningDates(QStringLiteral("select stockdate from hs_stock where fclientcode='") +
                     SqlText(shop) + QStringLiteral("'") + QStringLiteral(" order by stockdate"));
}

QString Tfrm_ClientPlanPriceCac::RecalcOwner() {
    const QString shop = chosenShop();
    if (shop.isEmpty()) Refuse(QStringLiteral("请选择店铺编号!"));
    if (shop != m_datesOf) Lookup_shopChange();
    return shop;
}

QString Tfrm_ClientPlanPriceCac::OpeningExistsSQL(const QString& s, const QString& d) const {
    return QStringLiteral("select top 1 * from hSstock_planprice where fclientcode='") +
           SqlText(s) + QStringLiteral("'") + QStringLiteral(" and fdate=") + quoted(d);
}

QString Tfrm_ClientPlanPriceCac::SnapshotTableSQL(const QString& s, const QString& d) const {
    return QStringLiteral("select tablename from hs_stock where fclientcode='") + SqlText(s) +
           QStringLiteral("'") + QStringLiteral(" and stockdate=") + quoted(d);
}

QString Tfrm_ClientPlanPriceCac::InsertOpeningSQL(const QString& s, const QString& t,
                                                  const QString& d) const {
    return QStringLiteral("insert into hsstock_planprice(fclientcode,fgoodsid,fdate,fqty)") + CR +
           QStringLiteral("select fclientcode,fgoodsid,'") + SqlText(d) + QStringLiteral("'") +
           QStringLiteral(",sum(isnull(qty,0)) qty") + CR + QStringLiteral(" from ") + t +
           QStringLiteral(" where fclientcode=") + quoted(s) +
           QStringLiteral(
               " and fgoodsid not in(select distinct(fgoodsid) from hSstock_planprice where "
               "fclientcode=") +
           quoted(s) + QStringLiteral(" and fdate=") + quoted(d) +
           QStringLiteral(") group by fclientcode,fgoodsid");
}

QString Tfrm_ClientPlanPriceCac::PreviousDateSQL(const QString& s, const QString& d) const {
    return QStringLiteral("select top 1 fdate from hsstock_planprice where fClientCode='") +
           SqlText(s) + QStringLiteral("'") + QStringLiteral(" and fdate<") + quoted(d) +
           QStringLiteral(" order by fdate desc");
}

QString Tfrm_ClientPlanPriceCac::UpdateOpeningSQL(const QString& s, const QString& p,
                                                  const QString& d) const {
    return QStringLiteral(
               "update hSstock_planprice set fplanprice=b.planprice from hSstock_planprice a") +
           CR + QStringLiteral("join (select * from FN_ClientPlanprice('") + SqlText(s) +
           QStringLiteral("'") + QStringLiteral(",") + quoted(p) + QStringLiteral(",") + quoted(d) +
           QStringLiteral("))b on a.fgoodsid=b.fgoodsid") + CR +
           QStringLiteral("where a.fclientcode=") + quoted(s) + QStringLiteral(" and a.fdate=") +
           quoted(d) + QStringLiteral(" and isnull(fplanprice,0)=0");
}

QString Tfrm_ClientPlanPriceCac::ResultSQL(const QString& s, const QString& d,
                                           const QString& e) const {
    return QStringLiteral("select * from FN_ClientPlanprice('") + SqlText(s) + QStringLiteral("'") +
           QStringLiteral(",") + quoted(d) + QStringLiteral(",") + quoted(e) + QStringLiteral(")");
}

TCostAdoption Tfrm_ClientPlanPriceCac::Adoption(const QString& s) {
    TCostAdoption adoption;
    adoption.targetSQL = QStringLiteral("select * from dt_clientplanprice where fclientcode='") +
                         SqlText(s) + QStringLiteral("'");
    adoption.statements = CostUpdateSql;
    adoption.resultField = QStringLiteral("planprice");
    adoption.costField = QStringLiteral("fplanprice");
    adoption.decimals = 2;  // dt_clientplanprice keeps cents
    adoption.fillNew = [s](TRemoteUdpDataSet& costs) {
        costs.FieldByName(QStringLiteral("fclientcode")).SetAsString(s);
    };
    adoption.doneMessage = QStringLiteral("更新成功,请重新打开<店铺货品成本价>模块查看当前成本价!");
    return adoption;
}
