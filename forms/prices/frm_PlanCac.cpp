#include "frm_PlanCac.h"

#include <QComboBox>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const QChar CR(13);

// The module's reference to the open window; emptied when it is freed.
QPointer<Tfrm_PlanCac> g_planCac;

QString quoted(const QString& value) {
    return QStringLiteral("'") + SqlText(value) + QStringLiteral("'");
}

}  // namespace

Tfrm_PlanCac::Tfrm_PlanCac(QWidget* owner)
    : TCostRecalcForm(owner, QStringLiteral("参考成本价重算")) {
    AddResultColumn(QStringLiteral("fprice"), QStringLiteral("后整单价"), 90, kUnitCost);
    AddResultColumn(QStringLiteral("fplan"), QStringLiteral("参考成本价"), 90, kUnitCost);

    PlanUpdateSql = new TRemoteUpdateSql(this);
    PlanUpdateSql->setObjectName(QStringLiteral("PlanUpdateSql"));
    PlanUpdateSql->InsertSQL =
        QStringLiteral("insert into planprice(fgoodsid,planprice)values(:fgoodsid,:planprice)");
    PlanUpdateSql->ModifySQL =
        QStringLiteral("update planprice set planprice=:planprice where fgoodsid=:fgoodsid");
    PlanUpdateSql->DeleteSQL = QStringLiteral("delete from planprice where fgoodsid=:fgoodsid");
}

Tfrm_PlanCac* Tfrm_PlanCac::ShowFor(QWidget* owner) {
    if (!g_planCac) g_planCac = md::ui::CreateForm<Tfrm_PlanCac>(owner);
    md::ui::ShowModeless(*g_planCac);
    return g_planCac;
}

void Tfrm_PlanCac::FormCreate() {
    TCostRecalcForm::FormCreate();
    // The adjusted price and the cost to adopt are prices: the session's decimals.
    const int decimals = qBound(0, md::Shared().PriceDecimals, 4);
    const QString places = decimals == 0
                               ? QStringLiteral("0")
                               : QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
    for (const char* field : {"fprice", "fplan"})
        cxGrid1DBTableView1->Column(QString::fromLatin1(field))
            ->displayFormat(places + QStringLiteral(";-") + places + QStringLiteral("; "));
    TRemoteUdpDataSet house;
    md::OpenQuery(house, QStringLiteral("select * from dt_house where strat_bit=1"));
    m_house = house.IsEmpty() ? QString() : house.FieldByName(QStringLiteral("fcode")).AsString();
    FillOpeningDates(QStringLiteral("select stockdate from hstock where fhousecode='") +
                     SqlText(m_house) + QStringLiteral("'") +
                     QStringLiteral(" order by stockdate"));
}

void Tfrm_PlanCac::FormDestroy() {
    TCostRecalcForm::FormDestroy();
    if (g_planCac == this) g_planCac = nullptr;
}

QString Tfrm_PlanCac::RecalcOwner() {
    if (m_house.isEmpty()) Refuse(QStringLiteral("没有设置总仓,请先在<仓库资料>中设定总仓!"));
    return m_house;
}

QString Tfrm_PlanCac::OpeningExistsSQL(const QString& h, const QString& d) const {
    return QStringLiteral("select top 1 * from hstock_planprice where fhousecode='") + SqlText(h) +
           QStringLiteral("'") + QStringLiteral(" and fdate=") + quoted(d);
}

QString Tfrm_PlanCac::SnapshotTableSQL(const QString& h, const QString& d) const {
    return QStringLiteral("select tablename from hstock where fhousecode='") + SqlText(h) +
           QStringLiteral("'") + QStringLiteral(" and stockdate=") + quoted(d);
}

QString Tfrm_PlanCac::InsertOpeningSQL(const QString& h, const QString& t, const QString& d) const {
    return QStringLiteral("insert into hstock_planprice(fhousecode,fgoodsid,fdate,fqty)") + CR +
           QStringLiteral("select fhousecode,fgoodsid,'") + SqlText(d) + QStringLiteral("'") +
           QStringLiteral(",sum(isnull(qty,0)) qty") + CR + QStringLiteral(" from ") + t +
           QStringLiteral(" where fhousecode=") + quoted(h) +
           QStringLiteral(
               " and fgoodsid not in(select distinct(fgoodsid) from hstock_planprice where "
               "fhousecode=") +
           quoted(h) + QStringLiteral(" and fdate=") + quoted(d) +
           QStringLiteral(") group by fhousecode,fgoodsid");
}

QString Tfrm_PlanCac::PreviousDateSQL(const QString& h, const QString& d) const {
    return QStringLiteral("select top 1 fdate from hstock_planprice where fhousecode='") +
           SqlText(h) + QStringLiteral("'") + QStringLiteral(" and fdate<") + quoted(d) +
           QStringLiteral(" order by fdate desc");
}

QString Tfrm_PlanCac::UpdateOpeningSQL(const QString& h, const QString& p, const QString& d) const {
    return QStringLiteral(
               "update hstock_planprice set fplanprice=b.planprice from hstock_planprice a") +
           CR + QStringLiteral("join (select * from FN_HousePlanprice('") + SqlText(h) +
           QStringLiteral("'") + QStringLiteral(",") + quoted(p) + QStringLiteral(",") + quoted(d) +
           QStringLiteral("))b on a.fgoodsid=b.fgoodsid") + CR +
           QStringLiteral("where a.fhousecode=") + quoted(h) + QStringLiteral(" and a.fdate=") +
           quoted(d) + QStringLiteral(" and isnull(fplanprice,0)=0");
}

QString Tfrm_PlanCac::ResultSQL(const QString& h, const QString& d, const QString& e) const {
    return QStringLiteral("select * from FN_HousePlanprice('") + SqlText(h) + QStringLiteral("'") +
           QStringLiteral(",") + quoted(d) + QStringLiteral(",") + quoted(e) + QStringLiteral(")");
}

TCostAdoption Tfrm_PlanCac::Adoption(const QString&) {
    TCostAdoption adoption;
    adoption.targetSQL = QStringLiteral("select * from planprice");
    adoption.statements = PlanUpdateSql;
    adoption.resultField = QStringLiteral("fplan");
    adoption.costField = QStringLiteral("planprice");
    // The grid of 货品参考成本价 saves by GoodsNo: new rows take their goods item's.
    adoption.afterSave = QStringLiteral(
        "update planprice set GoodsNo=b.GoodsNo from planprice a join goods b on "
        "a.fgoodsid=b.goodsid where a.GoodsNo is null");
    adoption.doneMessage = QStringLiteral("更新成功,请重新打开<参考成本价>模块查看当前成本价!");
    return adoption;
}
