// The demo goods as the goods windows and the benchmarks see them: every item
// complete and consistent with the code tables, barcodes and business for the
// everyday share, and the size factor honoured.
#include <gtest/gtest.h>

#include <QSet>

#include "demo/demodata.h"
#include "routines.h"
#include "testdb.h"

namespace {

QStringList column(md::test::TestDb& db, const QString& tsql) {
    ResultTable result;
    db.conn().OpenSQL(tsql, result);
    QStringList out;
    for (int r = 0; r < result.rowCount; ++r) out << result.at(r, 0).toString();
    return out;
}

class DemoGoods : public ::testing::Test {
  protected:
    md::test::TestDb db;
};

TEST_F(DemoGoods, EveryItemIsCompleteAndUsesTheCodeTables) {
    md::server::createDemoData(db.conn());
    const int goods = md::server::kDemoGoodsCount;
    EXPECT_EQ(db.count("goods"), goods);
    // Keys: unique, 12 characters, for goods and their colour rows alike.
    EXPECT_EQ(db.count("goods where len(goodsno)=12"), goods);
    EXPECT_EQ(column(db, "select distinct goodsno from goods").size(), goods);
    const int colours = db.count("goodscolor");
    EXPECT_EQ(column(db, "select distinct colorno from goodscolor").size(), colours);
    EXPECT_EQ(db.count("goodscolor a join goods b on a.fgoodsid=b.goodsid and a.GoodsNo=b.goodsno "
                       "where len(a.ColorNo)=12"),
              colours);

    // Two to five colours of the basic colour table; a size group that exists;
    // a goods type leaf; sales prices below the tag price.
    EXPECT_EQ(db.count("goods a where (select count(*) from goodscolor c where "
                       "c.fgoodsid=a.goodsid) not between 2 and 5"),
              0);
    EXPECT_EQ(db.count("goodscolor where fcolorid not in(select colorid from ba_color)"), 0);
    EXPECT_EQ(db.count("goods where size_class not in(select size_class from ba_size)"), 0);
    EXPECT_EQ(
        db.count("goods where typecode not in(select fcode from goodstype where len(fcode)=6)"), 0);
    EXPECT_EQ(db.count("goods where not(unitprice>price6 and price6>=price1 and price1>0)"), 0);
    EXPECT_EQ(db.count("vgoodscolor"), colours);

    // The attribute filter offers every value the goods carry in its fields.
    for (const QString field :
         {"brand", "ayear", "season", "sort", "sex", "masterial", "catena", "unit"}) {
        EXPECT_EQ(db.count("goods where " + field +
                           " not in(select fFieldValues from ba_fieldvalues"
                           " where ftablename='goods' and ffieldname='" +
                           field + "')"),
                  0)
            << field.toStdString();
    }
    // The restricted user's brand has a good share of the range.
    EXPECT_GT(db.count("goods where brand='" + md::server::demo::kShopUserBrand + "'"), goods / 5);

    // Sizes as P_UpdateGoodsSize keeps them.
    EXPECT_EQ(db.count("goodssize"),
              db.count("goods a join ba_size b on a.size_class=b.size_class"));
}

TEST_F(DemoGoods, BarcodesAndBusinessOfTheEverydayGoods) {
    // A larger range: every item has its barcodes, only the everyday share
    // national codes (the prefix's serials would not last for all).
    md::server::createDemoData(db.conn(), 1200);
    EXPECT_EQ(db.count("goods"), 1200);
    const int expected = db.count(
        "(select distinct c.fgoodsid,c.fcolorid,s.size_name from goodscolor c join goods g on "
        "c.fgoodsid=g.goodsid"
        " join ba_size s on s.size_class=g.size_class"
        " where g.goodsid in(select fgoodsid from barcode)) x");
    EXPECT_EQ(db.count("barcode"), expected);
    EXPECT_EQ(column(db, "select distinct fgoodsid from barcode").size(), 1200);
    EXPECT_EQ(
        column(db, "select distinct fgoodsid from barcode where fbarcode2 is not null").size(),
        md::server::kDemoGoodsCount);

    // National codes while the prefix's serials last: valid, unique, numbered from 1.
    const QStringList codes =
        column(db, "select fbarcode2 from barcode where fbarcode2 is not null order by fbarcode2");
    const QString prefix = md::server::demo::kNationalCodePrefix;
    ASSERT_FALSE(codes.isEmpty());
    EXPECT_EQ(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
    EXPECT_EQ(codes.first(), md::CompleteEan13(prefix + "00001"));
    for (const QString& code : codes) EXPECT_EQ(md::CompleteEan13(code), code);
    // "国际码" numbers every barcode left without a code: the demo prefix leaves room.
    db.exec("EXEC P_UpdateGoodsEan13");
    EXPECT_EQ(db.count("barcode where isnull(fbarcode2,'')=''"), 0);

    // Some goods are in use and may not be deleted; most may.
    const QStringList inUse = column(db, "select distinct fgoodsid from stock where qty<>0");
    ASSERT_FALSE(inUse.isEmpty());
    ResultTable check;
    db.conn().OpenSQL("exec P_CheckDelGoods '" + inUse.first() + "'", check);
    EXPECT_GT(check.rowCount, 0);
    const QString idle =
        column(db,
               "select top 1 goodsid from goods where goodsid not in(select fgoodsid from stock)"
               " and goodsid not in(select fgoodsid from d_sale) and goodsid not in(select "
               "fgoodsid from d_order)"
               " and goodsid not in(select fgoodsid from barcodeguid) order by goodsid")
            .value(0);
    ResultTable none;
    db.conn().OpenSQL("exec P_CheckDelGoods '" + idle + "'", none);
    EXPECT_EQ(none.rowCount, 0);
    EXPECT_GT(db.count("barcodeguid"), 0);
    EXPECT_EQ(db.count("barcodeguid a join barcode b on a.fgoodsid=b.fgoodsid and "
                       "a.fcolorid=b.fcolorid and a.fsize=b.fsize"
                       " where a.fbarcode not like b.fbarcode1+'%'"),
              0);
}

}  // namespace
