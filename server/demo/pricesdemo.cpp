// Demo prices: the reference cost of most goods items, stock and retail
// receipts of a few shops (the shop user's two among them), shop costs for
// the first shop, two price bands and a sales commission scheme. The sales
// price levels come with the goods themselves (goodsdemo.cpp: price1 at 35%
// of the tag price up to price6 at 60%).
#include <QDate>

#include "demodata.h"

namespace md::server {

namespace {

// Shops with stock and receipts: the first few shops that keep shifts.
constexpr int kStockedShops = 6;
// Goods items each stocked shop carries, and its receipts.
constexpr int kShopGoods = 40;
constexpr int kShopReceipts = 12;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

double cents(double value) {
    return qRound64(value * 100) / 100.0;
}

// One goods item in ten has no reference cost yet, as goods a buyer has not
// costed; the rest cost 26% to 32% of the tag price.
void generateReferenceCosts(DemoContext& demo) {
    ResultTable goods;
    demo.connection().OpenSQL(
        QStringLiteral("select goodsid,unitprice,goodsno from goods order by goodsid"), goods);
    const QStringList columns = {QStringLiteral("fgoodsid"), QStringLiteral("planprice"),
                                 QStringLiteral("ftaxprice"), QStringLiteral("frepairprice"),
                                 QStringLiteral("GoodsNo")};
    for (int row = 0; row < goods.rowCount; ++row) {
        if (row % 10 == 7) continue;
        const double tag = goods.at(row, 1).toDouble();
        const double cost = cents(tag * (26 + int(demo.random().bounded(7))) / 100.0);
        demo.insert(
            QStringLiteral("planprice"), columns,
            {goods.at(row, 0), cost, cents(cost * 1.13), cents(cost * 1.05), goods.at(row, 2)});
    }
}

struct ShopGoods {
    QString goodsid;
    QString colorid;
    double tagPrice = 0;
};

// The colours of kShopGoods goods items spread over the range, from an offset
// of the shop's own, so shops carry different but overlapping ranges.
QList<ShopGoods> goodsOfShop(DemoContext& demo, const ResultTable& goods, int shopNumber) {
    QList<ShopGoods> carried;
    if (goods.rowCount == 0) return carried;
    const int stride = qMax(1, goods.rowCount / (kShopGoods * 2));
    for (int k = 0; k < kShopGoods && k < goods.rowCount; ++k) {
        const int row = (shopNumber * 7 + k * stride) % goods.rowCount;
        ResultTable colours;
        const ParamMap params{{QStringLiteral("goodsid"), goods.at(row, 0)}};
        demo.connection().OpenSQL(
            QStringLiteral("select fcolorid from goodscolor where fgoodsid=:goodsid order by "
                           "fcolorid"),
            colours, &params);
        for (int c = 0; c < colours.rowCount; ++c)
            carried.append({goods.at(row, 0).toString(), colours.at(c, 0).toString(),
                            goods.at(row, 1).toDouble()});
    }
    return carried;
}

void generateShopBusiness(DemoContext& demo) {
    ResultTable shops;
    demo.connection().OpenSQL(
        QStringLiteral("select fcode from dt_client where fcode in(select fclientcode from "
                       "ba_squad) order by fcode"),
        shops);
    ResultTable goods;
    demo.connection().OpenSQL(
        QStringLiteral("select goodsid,unitprice from goods order by goodsid"), goods);
    const QStringList stockColumns = {QStringLiteral("fclientcode"), QStringLiteral("fgoodsid"),
                                      QStringLiteral("fcolorid"), QStringLiteral("qty")};
    const QStringList headColumns = {QStringLiteral("fbillid"), QStringLiteral("fclientcode"),
                                     QStringLiteral("fbilldate")};
    const QStringList lineColumns = {QStringLiteral("fbillid"), QStringLiteral("fgoodsid"),
                                     QStringLiteral("fcolorid"), QStringLiteral("qty"),
                                     QStringLiteral("fprice")};
    const QStringList costColumns = {QStringLiteral("fclientcode"), QStringLiteral("fgoodsid"),
                                     QStringLiteral("fplanprice")};
    int receipt = 0;
    for (int s = 0; s < shops.rowCount && s < kStockedShops; ++s) {
        const QString shop = shops.at(s, 0).toString();
        const QList<ShopGoods> carried = goodsOfShop(demo, goods, s);
        if (carried.isEmpty()) continue;
        // One colour in five is sold out: its stock row stays, at 0.
        for (const ShopGoods& item : carried) {
            const int qty = demo.random().bounded(5) == 0 ? 0 : 1 + int(demo.random().bounded(12));
            demo.insert(QStringLiteral("s_stock"), stockColumns,
                        {shop, item.goodsid, item.colorid, qty});
        }
        for (int r = 0; r < kShopReceipts; ++r) {
            const QString bill = QStringLiteral("LS%1").arg(250401 + receipt++);
            const QDate day = QDate(2025, 4, 1).addDays(r * 3 + s);
            demo.insert(QStringLiteral("d_s_sale"), headColumns,
                        {bill, shop, day.toString(Qt::ISODate)});
            const int lines = 1 + int(demo.random().bounded(3));
            for (int l = 0; l < lines; ++l) {
                const ShopGoods& item = carried.at(int(demo.random().bounded(int(carried.size()))));
                demo.insert(QStringLiteral("d_s_saledetail"), lineColumns,
                            {bill, item.goodsid, item.colorid, 1 + int(demo.random().bounded(2)),
                             item.tagPrice});
            }
        }
        // The first shop has its own costs already, a little above the reference.
        if (s != 0) continue;
        QString last;
        for (const ShopGoods& item : carried) {
            if (item.goodsid == last) continue;
            last = item.goodsid;
            demo.insert(QStringLiteral("dt_clientplanprice"), costColumns,
                        {shop, item.goodsid, cents(item.tagPrice * 0.33)});
        }
    }
}

void generatePriceBands(DemoContext& demo) {
    const QStringList columns = {QStringLiteral("fname"), QStringLiteral("fbeginvalues"),
                                 QStringLiteral("fendvalues")};
    demo.insert(QStringLiteral("Ba_GoodsPriceRange"), columns, {text("平价款"), 0.0, 299.0});
    demo.insert(QStringLiteral("Ba_GoodsPriceRange"), columns, {text("精品款"), 300.0, 999.0});
}

// Per piece sold in a month: the more pieces, the more per piece; ranges of
// one business type meet at their ends.
void generateCommissionScheme(DemoContext& demo) {
    const QStringList columns = {QStringLiteral("ftypename"), QStringLiteral("fbeginqty"),
                                 QStringLiteral("fendqty"), QStringLiteral("fsalevalues"),
                                 QStringLiteral("fmadivalues")};
    struct Step {
        const char* type;
        int from, to;
        double sale, design;
    };
    const Step steps[] = {{"零售", 0, 100, 1.00, 0.30},
                          {"零售", 100, 300, 1.50, 0.40},
                          {"零售", 300, 9999, 2.00, 0.50},
                          {"批发", 0, 500, 0.30, 0.10},
                          {"批发", 500, 99999, 0.50, 0.20}};
    for (const Step& step : steps)
        demo.insert(QStringLiteral("Ba_SaleValues"), columns,
                    {text(step.type), step.from, step.to, step.sale, step.design});
}

void generatePrices(DemoContext& demo) {
    generateReferenceCosts(demo);
    generateShopBusiness(demo);
    generatePriceBands(demo);
    generateCommissionScheme(demo);
}

// After the goods (60) and the clients with their shops' shifts.
const RegisterDemoGenerator registerPrices(67, "prices", &generatePrices);

}  // namespace

}  // namespace md::server
