// Demo client terms and targets: contract discounts that follow the kind of
// client (the company's own shops keep 1, the rate of no discount), category
// discounts of the agents for a few brands and seasons, return ratios of the
// agents and franchisees, order targets of those clients for the order
// batches, minimum order quantities of the first goods colours, and monthly
// sales targets of the first shops (the shop user's two among them) for this
// year and the last. The names of the six rates come with the goods fields.
#include <QDate>

#include "demodata.h"
#include "goodsfields.h"
#include "rowsink.h"
#include "sqlquote.h"

namespace md::server {

namespace {

ResultTable rowsOf(DemoContext& demo, const QString& sql) {
    ResultTable rows;
    demo.connection().OpenSQL(sql, rows);
    return rows;
}

double cents(double value) {
    return qRound64(value * 100) / 100.0;
}

// Rates by nature of business: futures, stock, replenishment, distribution,
// special price, spare.
struct ContractRates {
    const char* nature;
    double rates[6];
};

const ContractRates kContractRates[] = {
    {"代理", {0.45, 0.50, 0.55, 0.48, 0.40, 1}}, {"联营", {0.65, 0.68, 0.70, 0.65, 0.60, 1}},
    {"加盟", {0.55, 0.60, 0.62, 0.58, 0.50, 1}}, {"批发", {0.40, 0.42, 0.45, 0.40, 0.35, 1}},
    {"外销", {0.38, 0.40, 0.40, 0.38, 0.35, 1}},
};

void generateContractDiscounts(DemoContext& demo) {
    for (const ContractRates& c : kContractRates) {
        QString sets;
        for (int i = 0; i < 6; ++i)
            sets += QStringLiteral("%1discount%2=%3")
                        .arg(i ? QStringLiteral(",") : QString())
                        .arg(i + 1)
                        .arg(c.rates[i]);
        demo.exec(QStringLiteral("update dt_client set ") + sets +
                  QStringLiteral(" where fmathod=") + QuotedStr(QString::fromUtf8(c.nature)));
    }
}

// Agents buy the main brand's autumn and winter ranges at a deeper discount
// than their contract rate, the other brands at a little less.
void generateCategoryDiscounts(DemoContext& demo) {
    const ResultTable agents = rowsOf(
        demo, QStringLiteral("select fcode from dt_client where fmathod='代理' order by fcode"));
    const QStringList brands = demo::goodsFieldValues(QStringLiteral("brand"));
    const QStringList seasons = {QStringLiteral("秋"), QStringLiteral("冬")};
    const QStringList columns = {
        QStringLiteral("fid"),       QStringLiteral("fclientcode"), QStringLiteral("brand"),
        QStringLiteral("ayear"),     QStringLiteral("season"),      QStringLiteral("sort"),
        QStringLiteral("discount1"), QStringLiteral("discount2"),   QStringLiteral("discount3"),
        QStringLiteral("discount4"), QStringLiteral("discount5"),   QStringLiteral("discount6")};
    const int year = QDate::currentDate().year();
    int fid = 0;
    for (int a = 0; a < agents.rowCount && a < 4; ++a) {
        for (int b = 0; b < brands.size() && b < 2; ++b) {
            for (const QString& season : seasons) {
                const double base = b == 0 ? 0.42 : 0.48;
                demo.insert(QStringLiteral("cust_lbdiscount"), columns,
                            {++fid, agents.at(a, 0), brands[b], QString::number(year), season,
                             QString(), base, cents(base + 0.05), cents(base + 0.08),
                             cents(base + 0.03), cents(base - 0.05), 1.0});
            }
        }
        // One category of the year with its own rates, the rest of the category empty.
        demo.insert(QStringLiteral("cust_lbdiscount"), columns,
                    {++fid, agents.at(a, 0), brands.value(0), QString(), QString(),
                     QStringLiteral("羽绒服"), 0.50, 0.55, 0.60, 0.52, 0.45, 1.0});
    }
}

void generateReturnRatios(DemoContext& demo) {
    const ResultTable clients = rowsOf(
        demo, QStringLiteral("select fcode,fmathod from dt_client where fmathod in('代理','加盟',"
                             "'联营') order by fcode"));
    const QStringList columns = {QStringLiteral("fClientCode"),
                                 QStringLiteral("exchange_lb"),
                                 QStringLiteral("exchange_day"),
                                 QStringLiteral("futures_ratio"),
                                 QStringLiteral("merchandlse_ratio"),
                                 QStringLiteral("sever_ratio"),
                                 QStringLiteral("fanning_ratio"),
                                 QStringLiteral("field1_ratio"),
                                 QStringLiteral("field2_ratio"),
                                 QStringLiteral("merchandlse_bit"),
                                 QStringLiteral("strat")};
    for (int row = 0; row < clients.rowCount; ++row) {
        const bool agent = clients.at(row, 1).toString() == QStringLiteral("代理");
        demo.insert(QStringLiteral("exchange_ratio"), columns,
                    {clients.at(row, 0), agent ? QStringLiteral("金额") : QStringLiteral("数量"),
                     agent ? 90 : 30 + 15 * (row % 3), agent ? 0.15 : 0.10, agent ? 0.05 : 0.0, 0.0,
                     agent ? 0.20 : 0.10, 0.0, 0.0, agent ? 0 : 1, row % 5 == 4 ? 0 : 1});
    }
}

void generateOrderTargets(DemoContext& demo) {
    const ResultTable batches = rowsOf(
        demo, QStringLiteral("select fBatchName from ba_BatchInfo where ftablename='d_order' "
                             "order by fdate"));
    const ResultTable clients = rowsOf(
        demo, QStringLiteral("select fcode,fmathod from dt_client where fmathod in('代理','加盟') "
                             "order by fcode"));
    const QStringList columns = {QStringLiteral("fBatchNo"),   QStringLiteral("fClientCode"),
                                 QStringLiteral("fMoney"),     QStringLiteral("fInputDate"),
                                 QStringLiteral("fInputuser"), QStringLiteral("fPosted"),
                                 QStringLiteral("fRemark")};
    for (int b = 0; b < batches.rowCount; ++b) {
        // Fairs (the first batch of a season) carry the large targets.
        const bool fair = b % 2 == 0;
        for (int c = 0; c < clients.rowCount; ++c) {
            const bool agent = clients.at(c, 1).toString() == QStringLiteral("代理");
            const double target = (agent ? 600000 : 120000) * (fair ? 1.0 : 0.25) +
                                  10000 * int(demo.random().bounded(10));
            demo.insert(QStringLiteral("d_orderTarget"), columns,
                        {batches.at(b, 0), clients.at(c, 0), target, QStringLiteral("2025-01-06"),
                         demo::kAdminUser, 0,
                         fair ? QStringLiteral("订货会目标") : QStringLiteral("补单目标")});
        }
    }
}

void generateOrderMinimums(DemoContext& demo) {
    const ResultTable colours = rowsOf(
        demo,
        QStringLiteral("select fgoodsid,fcolorid from goodscolor order by fgoodsid,fcolorid"));
    const int minimums[] = {6, 12, 12, 24, 36};
    for (int row = 0; row < colours.rowCount && row < demo.scaled(60); ++row)
        demo.insert(
            QStringLiteral("ba_GoodsOrderSoure"),
            {QStringLiteral("fgoodsid"), QStringLiteral("fcolorid"), QStringLiteral("ordersoure")},
            {colours.at(row, 0), colours.at(row, 1), minimums[row % 5]});
}

// Targets grow towards the holidays; last year's were a tenth lower.
void generateSalesTargets(DemoContext& demo) {
    const ResultTable shops = rowsOf(
        demo, QStringLiteral("select fcode from dt_client where fcode in(select fclientcode from "
                             "ba_squad) order by fcode"));
    const double season[12] = {1.3, 1.1, 0.8, 0.8, 0.9, 0.8, 0.7, 0.7, 1.0, 1.2, 1.1, 1.4};
    QStringList columns = {QStringLiteral("fclientcode"), QStringLiteral("ayear")};
    for (int m = 1; m <= 12; ++m) columns << QStringLiteral("m%1").arg(m);
    const int year = QDate::currentDate().year();
    for (int s = 0; s < shops.rowCount && s < 8; ++s) {
        const double base = 80000 + 10000 * int(demo.random().bounded(8));
        for (const int y : {year - 1, year}) {
            QVariantList row = {shops.at(s, 0), y};
            for (const double factor : season)
                row << double(qRound64(base * factor * (y == year ? 1.0 : 0.9) / 100) * 100);
            demo.insert(QStringLiteral("ba_salesoure"), columns, row);
        }
    }
}

void generateTerms(DemoContext& demo) {
    generateContractDiscounts(demo);
    generateCategoryDiscounts(demo);
    generateReturnRatios(demo);
    generateOrderTargets(demo);
    generateOrderMinimums(demo);
    generateSalesTargets(demo);
}

}  // namespace

// After the clients, the goods and the order batches (warehouses).
const RegisterDemoGenerator registerTerms(72, "client terms", &generateTerms);

}  // namespace md::server
