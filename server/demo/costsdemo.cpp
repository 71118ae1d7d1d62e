// Demo cost history: two stock snapshots of the head warehouse CK02 and of
// the shop user's shops, with receipts before, between and after them, so
// that 参考成本价重算 and 店铺成本价重算 show a period's costs at once. The
// snapshots are the ends of the months four and one months back; their
// quantities come from the current stock, the earlier one a little lower.
#include <QDate>
#include <functional>

#include "demodata.h"

namespace md::server {

namespace {

double cents(double value) {
    return qRound64(value * 100) / 100.0;
}

QDate monthEnd(const QDate& day) {
    return QDate(day.year(), day.month(), day.daysInMonth());
}

QString dateText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd"));
}

// The snapshot table of an owner (warehouse or shop) at a date, registered in
// `registry` and filled from the stock rows of `source`; the earlier snapshot
// holds two thirds of each quantity.
void takeSnapshot(DemoContext& demo, const QString& registry, const QString& ownerColumn,
                  const QString& owner, const QDate& day, const QString& source,
                  const QString& sourceOwnerColumn, bool earlier) {
    const QString table = registry + QLatin1Char('_') + owner + QLatin1Char('_') +
                          day.toString(QStringLiteral("yyyyMMdd"));
    demo.exec(QStringLiteral("create table %1 (%2 varchar(30) null, fgoodsid varchar(30) null, "
                             "fcolorid varchar(30) null, qty int null)")
                  .arg(table, ownerColumn));
    demo.exec(QStringLiteral("insert into %1(%2,fgoodsid,fcolorid,qty) select %3,fgoodsid,"
                             "fcolorid,%4 from %5 where %3='%6'")
                  .arg(table, ownerColumn, sourceOwnerColumn,
                       earlier ? QStringLiteral("qty*2/3") : QStringLiteral("qty"), source, owner));
    demo.insert(registry, {ownerColumn, QStringLiteral("stockdate"), QStringLiteral("tablename")},
                {owner, dateText(day), table});
}

struct Stocked {
    QString goodsid;
    QString colorid;
    double tagPrice = 0;
};

QList<Stocked> stockOf(DemoContext& demo, const QString& sql) {
    ResultTable rows;
    demo.connection().OpenSQL(sql, rows);
    QList<Stocked> out;
    for (int row = 0; row < rows.rowCount; ++row)
        out.append(
            {rows.at(row, 0).toString(), rows.at(row, 1).toString(), rows.at(row, 2).toDouble()});
    return out;
}

// Receipts of every second stocked goods colour at three times: before the
// first snapshot, between the two and after the second, each time a little
// dearer (28%, 31% and 33% of the tag price).
void receive(
    DemoContext& demo, const QList<Stocked>& stocked, const QDate& first, const QDate& second,
    const std::function<void(const Stocked&, const QDate&, int, double, const QString&)>& add) {
    const QDate today = QDate::currentDate();
    const struct {
        QDate day;
        double share;
    } times[] = {{first.addDays(-45), 0.28},
                 {first.addDays(1 + (second.toJulianDay() - first.toJulianDay()) / 2), 0.31},
                 {qMin(second.addDays(10), today.addDays(-1)), 0.33}};
    int bill = 0;
    for (const auto& time : times) {
        ++bill;
        for (qsizetype i = 0; i < stocked.size(); i += 2) {
            const Stocked& item = stocked[i];
            const int qty = 10 + int(demo.random().bounded(31));
            const double price =
                cents(item.tagPrice * (time.share + int(demo.random().bounded(3)) / 100.0));
            add(item, time.day, qty, price,
                QStringLiteral("%1%2").arg(time.day.toString(QStringLiteral("yyMMdd"))).arg(bill));
        }
    }
}

void generateCosts(DemoContext& demo) {
    const QDate today = QDate::currentDate();
    const QDate first = monthEnd(today.addMonths(-4));
    const QDate second = monthEnd(today.addMonths(-1));

    // The head warehouse.
    const QString house = QStringLiteral("CK02");
    const QList<Stocked> houseStock = stockOf(
        demo, QStringLiteral("select a.fgoodsid,a.fcolorid,b.unitprice from stock a join goods b "
                             "on a.fgoodsid=b.goodsid where a.fhousecode='CK02' order by "
                             "a.fgoodsid,a.fcolorid"));
    for (const QDate& day : {first, second})
        takeSnapshot(demo, QStringLiteral("hstock"), QStringLiteral("fhousecode"), house, day,
                     QStringLiteral("stock"), QStringLiteral("fhousecode"), day == first);
    receive(demo, houseStock, first, second,
            [&](const Stocked& item, const QDate& day, int qty, double price, const QString& bill) {
                demo.insert(QStringLiteral("d_receving"),
                            {QStringLiteral("fbillid"), QStringLiteral("fsuppliercode"),
                             QStringLiteral("fbilldate"), QStringLiteral("fhousecode"),
                             QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"),
                             QStringLiteral("fqty"), QStringLiteral("fprice")},
                            {QString(QStringLiteral("RK") + bill), QStringLiteral("GY007"),
                             dateText(day), house, item.goodsid, item.colorid, qty, price});
            });

    // The shop user's shops: what was sold to them is what they received.
    for (const QString& shop : demo::kShopUserShops) {
        const QList<Stocked> shopStock = stockOf(
            demo,
            QStringLiteral("select a.fgoodsid,a.fcolorid,b.unitprice from s_stock a join goods b "
                           "on a.fgoodsid=b.goodsid where a.fclientcode='%1' order by "
                           "a.fgoodsid,a.fcolorid")
                .arg(shop));
        if (shopStock.isEmpty()) continue;
        for (const QDate& day : {first, second})
            takeSnapshot(demo, QStringLiteral("hs_stock"), QStringLiteral("fclientcode"), shop, day,
                         QStringLiteral("s_stock"), QStringLiteral("fclientcode"), day == first);
        receive(
            demo, shopStock, first, second,
            [&](const Stocked& item, const QDate& day, int qty, double price, const QString& bill) {
                // Sold to the shop at about the cost plus a fifth.
                demo.insert(
                    QStringLiteral("d_sale"),
                    {QStringLiteral("fbillid"), QStringLiteral("fclientcode"),
                     QStringLiteral("fbilldate"), QStringLiteral("fgoodsid"),
                     QStringLiteral("fcolorid"), QStringLiteral("fqty"), QStringLiteral("fprice")},
                    {QString(QStringLiteral("XS") + bill), shop, dateText(day), item.goodsid,
                     item.colorid, qty / 2 + 1, cents(price * 1.2)});
            });
    }
}

// After the prices (67) and the warehouses (70).
const RegisterDemoGenerator registerCosts(75, "costs", &generateCosts);

}  // namespace

}  // namespace md::server
