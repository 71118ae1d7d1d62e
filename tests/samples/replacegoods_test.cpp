// P_replaceGoods: after a merge no goods-code column of the schema holds the
// old code, sample codes stay, and tables with one row per goods variant keep
// one row of each.
#include <QSet>

#include "samplesfixture.h"
#include "tsql/catalog.h"

using namespace md::test;

namespace {

bool isCodeColumnName(const QString& name) {
    for (const char* code : {"goodsid", "fgoodsid", "fnewgoodsid"})
        if (name.compare(QLatin1String(code), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// A literal of the column's type for the n-th row made.
QString literal(const md::sql::ColumnInfo& column, int n) {
    switch (column.type) {
        case md::sql::SqlType::Text:
            return QStringLiteral("'V%1'").arg(n);
        case md::sql::SqlType::DateTime:
        case md::sql::SqlType::Date:
            return QStringLiteral("'2026-01-01'");
        case md::sql::SqlType::Time:
            return QStringLiteral("'08:00:00'");
        case md::sql::SqlType::Blob:
            return QStringLiteral("null");
        default:
            return QStringLiteral("%1").arg(n % 2);
    }
}

}  // namespace

class ReplaceGoods : public SamplesTest {
  protected:
    void merge(const QString& oldCode, const QString& newCode) {
        db.exec(QStringLiteral("exec P_replaceGoods '%1','%2'").arg(oldCode, newCode));
    }
    // Every text column of every table holding the value, as "table.column".
    QSet<QString> columnsHolding(const QString& value) {
        QSet<QString> found;
        for (const md::sql::TableInfo* table : db.conn().catalog().tables()) {
            if (table->isView) continue;
            for (const md::sql::ColumnInfo& column : table->columns)
                if (column.type == md::sql::SqlType::Text &&
                    db.count(
                        QStringLiteral("%1 where %2='%3'").arg(table->name, column.name, value)) >
                        0)
                    found << table->name.toLower() + QLatin1Char('.') + column.name.toLower();
        }
        return found;
    }
};

TEST_F(ReplaceGoods, NoGoodsCodeColumnKeepsTheOldCodeButSampleCodesStay) {
    addGoods(QStringLiteral("NEW1"));
    addGoods(QStringLiteral("OLD1"));
    // The sample OLD1 shares its code with the goods item: its columns stay.
    addSample(QStringLiteral("OLD1"), QStringLiteral("OLD1"), QStringLiteral("01"));
    db.exec(
        QStringLiteral("insert into mr_smp(fbillid,foldgoodsid,fgoodsid) "
                       "values('B1','OLD1','OLD1')"));
    db.exec(QStringLiteral("insert into GoodsImage(fgoodsid) values('OLD1')"));  // the sample's
    // One row holding OLD1 in each goods-code column of every other table.
    int n = 0;
    QSet<QString> filled;
    for (const md::sql::TableInfo* table : db.conn().catalog().tables()) {
        const QString name = table->name.toLower();
        if (table->isView || name == QLatin1String("goods") ||
            name.startsWith(QLatin1String("mr_")))
            continue;
        QStringList columns, values;
        bool holdsCode = false;
        for (const md::sql::ColumnInfo& column : table->columns) {
            if (column.identity) continue;
            const bool code =
                column.type == md::sql::SqlType::Text && isCodeColumnName(column.name);
            if (!code && column.nullable) continue;
            columns << column.name;
            values << (code ? QStringLiteral("'OLD1'") : literal(column, ++n));
            if (code) filled << name + QLatin1Char('.') + column.name.toLower();
            holdsCode = holdsCode || code;
        }
        if (!holdsCode) continue;
        if (name == QLatin1String("goodsimage"))
            columns << QStringLiteral("GoodsNo"), values << QStringLiteral("'NOLD1'");
        db.exec(
            QStringLiteral("insert into %1(%2) values(%3)")
                .arg(table->name, columns.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
    }
    for (const char* table : {"barcode", "goodscolor", "stock", "d_sale", "ba_housestocklimit"})
        EXPECT_TRUE(filled.contains(QString::fromLatin1(table) + QStringLiteral(".fgoodsid")))
            << table;
    EXPECT_TRUE(filled.contains(QStringLiteral("goodssize.goodsid")));

    merge(QStringLiteral("old1"), QStringLiteral("NEW1"));
    EXPECT_EQ(columnsHolding(QStringLiteral("OLD1")),
              QSet<QString>({QStringLiteral("goods.goodsid"), QStringLiteral("mr_goods.goodsid"),
                             QStringLiteral("mr_goodscolor.fgoodsid"),
                             QStringLiteral("mr_smp.foldgoodsid"),
                             QStringLiteral("goodsimage.fgoodsid")}));
    for (const QString& column : std::as_const(filled))
        EXPECT_TRUE(columnsHolding(QStringLiteral("NEW1")).contains(column))
            << column.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select fnewgoodsid from mr_goods")),
              QStringList({QStringLiteral("NEW1")}));
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid from mr_smp")),
              QStringList({QStringLiteral("NEW1")}));
    EXPECT_EQ(rows(QStringLiteral(
                  "select fgoodsid,isnull(GoodsNo,'-') from GoodsImage order by fautoid")),
              QStringList({QStringLiteral("OLD1|-"), QStringLiteral("NEW1|NNEW1")}));
}

TEST_F(ReplaceGoods, VariantTablesKeepOneRowOfEachAndDocumentsKeepAllLines) {
    addGoods(QStringLiteral("OLD1"), QStringLiteral("01,02"));
    addGoods(QStringLiteral("NEW1"), QStringLiteral("02,03"));
    for (const auto& [goods, colour] : {std::pair{"OLD1", "01"}, {"OLD1", "02"}, {"NEW1", "02"}}) {
        const QString g = QString::fromLatin1(goods), c = QString::fromLatin1(colour);
        db.exec(QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1,goodsno) "
                               "values('%1','%2','S','%1%2','N%1')")
                    .arg(g, c));
        db.exec(QStringLiteral("insert into Ba_housestockLimit(fgoodsid,fcolorid,fmaxstock) "
                               "values('%1','%2',%3)")
                    .arg(g, c)
                    .arg(g == QLatin1String("NEW1") ? 9 : 5));
        db.exec(QStringLiteral("insert into stock(fhousecode,fgoodsid,fcolorid,qty) "
                               "values('CK01','%1','%2',2)")
                    .arg(g, c));
    }
    // OLD1's colour descriptions come over; that of colour 02 takes the key of NEW1's row.
    db.exec(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo) "
                       "values('OLD1','01','墨黑','NOLD1','COLD11')"));
    db.exec(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid,fcolor,GoodsNo,ColorNo) "
                       "values('OLD1','02','旧白','NOLD1','COLD12')"));

    merge(QStringLiteral("OLD1"), QStringLiteral("NEW1"));
    EXPECT_EQ(rows(QStringLiteral("select fcolorid,GoodsNo,ColorNo from goodscolor where "
                                  "fgoodsid='NEW1' order by fcolorid")),
              QStringList({QStringLiteral("01|NNEW1|COLD11"), QStringLiteral("02|NNEW1|CNEW11"),
                           QStringLiteral("03|NNEW1|CNEW12")}));
    EXPECT_EQ(
        rows(QStringLiteral("select fcolorid,fbarcode1,goodsno from barcode order by fcolorid")),
        QStringList({QStringLiteral("01|OLD101|NNEW1"), QStringLiteral("02|NEW102|NNEW1")}));
    EXPECT_EQ(
        rows(QStringLiteral("select fcolorid,fmaxstock from Ba_housestockLimit order by fcolorid")),
        QStringList({QStringLiteral("01|5"), QStringLiteral("02|9")}));
    EXPECT_EQ(
        rows(QStringLiteral("select fcolorid,fcolor,ColorNo from ba_goodscolor order by fcolorid")),
        QStringList({QStringLiteral("01|墨黑|COLD11"), QStringLiteral("02|旧白|CNEW11")}));
    EXPECT_EQ(db.scalar(QStringLiteral("select sum(qty) from stock where fgoodsid='NEW1'")).toInt(),
              6);
    EXPECT_EQ(db.count(QStringLiteral("goods where goodsid='OLD1'")), 1)
        << "the caller deletes the goods record";
}

TEST_F(ReplaceGoods, RefusesCodesThatDifferOnlyInCase) {
    addGoods(QStringLiteral("A01"), QStringLiteral("01"));
    EXPECT_THROW(merge(QStringLiteral("a01"), QStringLiteral("A01")), EDatabaseError);
    EXPECT_EQ(rows(QStringLiteral("select fgoodsid from goodscolor")),
              QStringList({QStringLiteral("A01")}));
}
