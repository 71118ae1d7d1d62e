// The goods procedures as the goods form calls them: sizes kept in step with
// the size group, barcode rows and national codes, the delete check and the
// growth of the description values.
#include <gtest/gtest.h>

#include "routines.h"
#include "testdb.h"
#include "testprint.h"

namespace {

class GoodsProcedures : public ::testing::Test {
  protected:
    GoodsProcedures() {
        // Gaps in the stored numbers: slots still count 1, 2, 3.
        size("上衣", {{"S", 1}, {"M", 3}, {"L", 5}});
        size("裤装", {{"28", 1}, {"30", 2}});
        for (const char* colour : {"01", "02", "03"})
            db.exec(QStringLiteral("insert into ba_color(colorid,colorname_ch) values('%1','色%1')")
                        .arg(colour));
        db.exec("insert into dt_ltd(fname_ch,fcode) values('测试服饰','')");
    }

    void size(const QString& group, const QList<QPair<QString, int>>& sizes) {
        for (const auto& [name, index] : sizes)
            db.exec(
                QStringLiteral("insert into ba_size(size_class,size_name,displayindex,fieldname) "
                               "values('%1','%2',%3,'S%3')")
                    .arg(group, name)
                    .arg(index));
    }
    void goods(const QString& code, const QString& group, const QStringList& colours = {}) {
        db.exec(QStringLiteral("insert into goods(goodsid,goodsname,size_class,goodsno) "
                               "values('%1','测试货品','%2','N%1')")
                    .arg(code, group));
        for (const QString& colour : colours)
            db.exec(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid,GoodsNo,ColorNo) "
                                   "values('%1','%2','N%1','C%1%2')")
                        .arg(code, colour));
    }
    void prefix(const QString& code) { db.exec("update dt_ltd set fcode='" + code + "'"); }

    QStringList rows(const QString& tsql) { return db.rows(tsql); }
    int rowCount(const QString& tsql) {
        ResultTable result;
        db.conn().OpenSQL(tsql, result);
        return result.rowCount;
    }

    md::test::TestDb db;
};

TEST_F(GoodsProcedures, GoodsSizesFollowTheSizeGroup) {
    goods("A01", "上衣");
    goods("B01", "裤装");
    db.exec("exec P_UpdateGoodsSize 'B01'");
    db.exec("exec P_UpdateGoodsSize 'a01'");  // any case, as the database compares codes
    EXPECT_EQ(rows("select goodsid,size_name,fieldname,displayindex from goodssize where "
                   "goodsid='A01' order by displayindex"),
              (QStringList{"A01|S|S1|1", "A01|M|S2|2", "A01|L|S3|3"}));

    // Another group, and a size added to it: the item's rows are replaced.
    size("裤装", {{"32", 4}});
    db.exec("update goods set size_class='裤装' where goodsid='A01'");
    db.exec("exec P_UpdateGoodsSize 'A01'");
    EXPECT_EQ(
        rows("select size_name,fieldname from goodssize where goodsid='A01' order by displayindex"),
        (QStringList{"28|S1", "30|S2", "32|S3"}));
    EXPECT_EQ(db.count("goodssize where goodsid='B01'"), 2);  // untouched since its own call

    // An item without a group, or gone, keeps no sizes.
    db.exec("update goods set size_class=null where goodsid='A01'");
    db.exec("exec P_UpdateGoodsSize 'A01'");
    EXPECT_EQ(db.count("goodssize where goodsid='A01'"), 0);
}

TEST_F(GoodsProcedures, BarcodeRowsForEachColourAndSizeComposedThroughTheMappings) {
    goods("A01", "上衣", {"02", "01"});
    db.exec("insert into barcode_color(fcolorid,fbarcolorid) values('02','BL')");
    db.exec("insert into barcode_color(fcolorid,fbarcolorid) values('01','')");  // empty: the code
                                                                                 // itself
    db.exec("insert into barcode_size(fsize,fbarcodesize) values('M','2')");
    db.exec("exec get_BarcodeOneGoods 'A01'");
    EXPECT_EQ(rows("select fcolorid,fsize,fbarcode1,fprintsize,fprintcolorid,goodsno,fcheck from "
                   "barcode order by fbarcode1"),
              (QStringList{"01|M|A01012|M|01|NA01|0", "01|L|A0101L|L|01|NA01|0",
                           "01|S|A0101S|S|01|NA01|0", "02|M|A01BL2|M|02|NA01|0",
                           "02|L|A01BLL|L|02|NA01|0", "02|S|A01BLS|S|02|NA01|0"}));
    EXPECT_EQ(db.count("barcode where fbarcode2 is not null"), 0);  // no prefix, no national codes

    // Run again after a colour was added and a row edited by hand: only the new
    // colour's rows appear, the edited row stays, nothing is doubled.
    db.exec("update barcode set fbarcode1='HAND' where fcolorid='01' and fsize='S'");
    db.exec("insert into goodscolor(fgoodsid,fcolorid) values('A01','03')");
    db.exec("insert into goodscolor(fgoodsid,fcolorid) values('A01','03')");  // listed twice
    db.exec("exec get_BarcodeOneGoods 'A01'");
    EXPECT_EQ(db.count("barcode"), 9);
    EXPECT_EQ(db.count("barcode where fcolorid='03'"), 3);
    EXPECT_EQ(
        db.scalar("select fbarcode1 from barcode where fcolorid='01' and fsize='S'").toString(),
        "HAND");
    db.exec("exec get_BarcodeOneGoods 'A01'");
    EXPECT_EQ(db.count("barcode"), 9);

    // Codes with blanks around them are trimmed in barcode 1; other items are not touched.
    goods("B01", "裤装", {"01"});
    db.exec("exec get_BarcodeOneGoods 'B01'");
    EXPECT_EQ(rows("select fbarcode1 from barcode where fgoodsid='B01' order by fbarcode1"),
              (QStringList{"B010128", "B010130"}));
    EXPECT_EQ(db.count("barcode"), 11);
}

TEST_F(GoodsProcedures, NationalCodesContinueAfterTheHighestSerialUnderThePrefix) {
    prefix("6901234");  // 7 digits: 5-digit serials
    goods("OLD", "裤装", {"01"});
    // Stored before: serial 41 under this prefix, and codes of another numbering.
    db.exec("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode2) values('OLD','01','28','" +
            md::CompleteEan13("690123400041") + "')");
    db.exec(
        "insert into barcode(fgoodsid,fcolorid,fsize,fbarcode2) "
        "values('OLD','01','30','6901234ABCDEF')");
    goods("A01", "上衣", {"01"});
    db.exec("exec get_BarcodeOneGoods 'A01'");
    const QStringList codes =
        rows("select fbarcode2 from barcode where fgoodsid='A01' order by fbarcode2");
    EXPECT_EQ(codes,
              (QStringList{md::CompleteEan13("690123400042"), md::CompleteEan13("690123400043"),
                           md::CompleteEan13("690123400044")}));
    // Sizes are numbered in slot order.
    EXPECT_EQ(
        db.scalar("select fbarcode2 from barcode where fgoodsid='A01' and fsize='S'").toString(),
        codes[0]);
    EXPECT_EQ(
        db.scalar("select fbarcode2 from barcode where fgoodsid='A01' and fsize='L'").toString(),
        codes[2]);
}

TEST_F(GoodsProcedures, UpdateGoodsEan13FillsOnlyMissingCodesInGoodsColourSlotOrder) {
    goods("B01", "上衣", {"01"});
    goods("A01", "裤装", {"02", "01"});
    db.exec("exec get_BarcodeOneGoods 'B01'");
    db.exec("exec get_BarcodeOneGoods 'A01'");
    db.exec("exec P_UpdateGoodsEan13");  // no prefix yet: nothing to number, no error
    EXPECT_EQ(db.count("barcode where fbarcode2 is not null"), 0);

    db.exec(
        "update barcode set fbarcode2='KEEP' where fgoodsid='A01' and fcolorid='01' and "
        "fsize='28'");
    db.exec(
        "update barcode set fbarcode2='  ' where fgoodsid='B01' and fsize='M'");  // blank counts as
                                                                                  // missing
    prefix("690123456");                                                          // 3-digit serials
    db.exec("EXEC P_UpdateGoodsEan13");
    EXPECT_EQ(rows("select fgoodsid,fcolorid,fsize,fbarcode2 from barcode order by fbarcode2"),
              (QStringList{"A01|01|30|" + md::CompleteEan13("690123456001"),
                           "A01|02|28|" + md::CompleteEan13("690123456002"),
                           "A01|02|30|" + md::CompleteEan13("690123456003"),
                           "B01|01|S|" + md::CompleteEan13("690123456004"),
                           "B01|01|M|" + md::CompleteEan13("690123456005"),
                           "B01|01|L|" + md::CompleteEan13("690123456006"), "A01|01|28|KEEP"}));
    db.exec("EXEC P_UpdateGoodsEan13");  // nothing left to number
    EXPECT_EQ(db.count("barcode where fbarcode2 like '690123456%'"), 6);
}

TEST_F(GoodsProcedures, UsedUpSerialsAndUnusablePrefixes) {
    prefix("6901234567");  // 10 digits: serials 01..99
    goods("OLD", "裤装", {"01"});
    db.exec("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode2) values('OLD','01','28','" +
            md::CompleteEan13("690123456798") + "')");
    goods("A01", "上衣", {"01"});
    // A save never fails over the serials: the rows come, the last without a code.
    db.exec("exec get_BarcodeOneGoods 'A01'");
    EXPECT_EQ(db.count("barcode where fgoodsid='A01'"), 3);
    EXPECT_EQ(
        db.scalar("select fbarcode2 from barcode where fgoodsid='A01' and fsize='S'").toString(),
        md::CompleteEan13("690123456799"));
    EXPECT_EQ(db.count("barcode where fgoodsid='A01' and fbarcode2 is null"), 2);

    // "国际码" says so, and keeps what it could not undo.
    try {
        db.exec("EXEC P_UpdateGoodsEan13");
        FAIL() << "no error for used-up serials";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  "国标码“6901234567”后只有2位流水号，已经用完，还有2个条码没有国标码。"
                  "请在“公司信息”中改用位数较少的国标码前缀，再按“国际码”。");
    }

    // A prefix that leaves no room, or is not digits: no codes; "国际码" reports it.
    for (const QString& bad : {QStringLiteral("690123456789"), QStringLiteral("69A")}) {
        prefix(bad);
        goods("X" + bad.left(3), "裤装", {"02"});
        db.exec("exec get_BarcodeOneGoods 'X" + bad.left(3) + "'");
        EXPECT_EQ(db.count("barcode where fgoodsid='X" + bad.left(3) + "' and fbarcode2 is null"),
                  2);
        try {
            db.exec("EXEC P_UpdateGoodsEan13");
            FAIL() << "no error for prefix " << bad.toStdString();
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()),
                      "国标码“" + bad + "”应为1到11位数字，才能留出流水号的位置。");
        }
    }
}

TEST_F(GoodsProcedures, DeleteCheckFindsSerialsStockAndDocumentsOnly) {
    goods("A01", "上衣", {"01"});
    goods("A02", "上衣", {"01"});
    const QString check = "exec P_CheckDelGoods 'A01'";
    // Barcodes alone, and stock that is zero, are no business: they go with the item.
    db.exec("exec get_BarcodeOneGoods 'A01'");
    db.exec("insert into stock(fhousecode,fgoodsid,fcolorid,qty) values('CK01','A01','01',0)");
    db.exec("insert into stock(fhousecode,fgoodsid,fcolorid,qty) values('CK01','A01','01',null)");
    EXPECT_EQ(rowCount(check), 0);

    const QStringList business = {
        "insert into stock(fhousecode,fgoodsid,fcolorid,qty) values('CK01','A01','01',-2)",
        "insert into barcodeguid(fgoodsid,fcolorid,fsize,fbarcode,fcode) "
        "values('A01','01','M','A0101M0001','123456')",
        "insert into d_sale(fbillid,fclientcode,fbilldate,fgoodsid,fqty) "
        "values('XS001','S0101','2025-03-01','A01',2)",
        "insert into d_order(fbillid,fclientcode,fbilldate,fgoodsid,fqty) "
        "values('DH001','S0101','2025-03-01','a01',5)",
        "insert into d_receving(fbillid,fsuppliercode,fbilldate,fgoodsid,fqty) "
        "values('JH001','G01','2025-03-01','A01',9)",
        "insert into d_purchase(fbillid,fsuppliercode,fbilldate,fgoodsid,fqty) "
        "values('CG001','G01','2025-03-01','A01',9)",
    };
    for (const QString& insert : business) {
        db.exec(insert);
        EXPECT_EQ(rowCount(check), 1) << insert.toStdString();
        EXPECT_EQ(rowCount("exec P_CheckDelGoods 'A02'"), 0) << insert.toStdString();
        db.exec("delete from " +
                insert.section(QLatin1Char(' '), 2, 2).section(QLatin1Char('('), 0, 0) +
                " where fgoodsid='A01' and " + (insert.contains("stock") ? "qty<>0" : "1=1"));
    }
    // Several kinds at once still read as "in use"; the column is the goods code.
    db.exec(business[0]);
    db.exec(business[2]);
    EXPECT_EQ(rows(check), (QStringList{"A01", "A01"}));
    // A quote in the code cannot break the check.
    EXPECT_EQ(rowCount("exec P_CheckDelGoods 'A''01'"), 0);
}

TEST_F(GoodsProcedures, DescriptionValuesGrowWithTheData) {
    const QStringList described = {"goodsid",   "brand",     "season", " masterial ",
                                   "unitprice", "inputdate", "nosuch"};
    int fid = 0;
    for (const QString& name : described)
        db.exec(QStringLiteral(
                    "insert into ba_fieldremark(fid,ftablename,fname,ffieldremark,visiblebit) "
                    "values(%1,'goods','%2','x',1)")
                    .arg(++fid)
                    .arg(name));
    // Client discount captions live in the same table; not goods columns.
    db.exec(
        "insert into ba_fieldremark(fid,ftablename,fname) values(1001,'dt_client','discount1')");
    db.exec(
        "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
        "values('goods','brand','雅韵')");
    db.exec(
        "insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues) "
        "values('OA_SstockAmount','season','春')");
    db.exec(
        "insert into goods(goodsid,brand,season,masterial,unitprice,inputdate) values('A01',' 雅韵 "
        "','春','纯棉',99,'2025-01-01')");
    db.exec(
        "insert into goods(goodsid,brand,season,masterial) values('A02','悦动','春','O''Neil 棉')");
    db.exec("insert into goods(goodsid,brand,season,masterial) values('A03','悦动','','  ')");
    db.exec("insert into goods(goodsid,brand,season) values('A04',null,'夏')");

    // Sorted here: the backends order Chinese text differently.
    auto values = [this] {
        QStringList found =
            rows("select ffieldname,fFieldValues from ba_fieldvalues where ftablename='goods'");
        found.sort();
        return found;
    };
    db.exec("exec updategoodsfield");
    QStringList expected = {"brand|悦动",     "brand|雅韵", "masterial|O'Neil 棉",
                            "masterial|纯棉", "season|夏",  "season|春"};
    expected.sort();
    EXPECT_EQ(values(), expected);
    EXPECT_EQ(db.count("ba_fieldvalues where ftablename='OA_SstockAmount'"), 1);

    db.exec("exec updategoodsfield");  // nothing new: nothing added
    EXPECT_EQ(values(), expected);
}

}  // namespace
