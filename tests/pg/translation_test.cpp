// The same T-SQL texts on SQLite and on PostgreSQL give the same rows: the
// fixture schema on both, each statement run on both, results compared as text.
// The cases are the ones each seen to go wrong on a server that is not SQL Server.
#include <gtest/gtest.h>

#include <QDateTime>

#include "../tsql/tsqltestutil.h"
#include "testdb.h"

using md::test::FixtureDb;
using md::test::Rows;

namespace {

// A value as text, so that SQLite's REAL and PostgreSQL's numeric compare.
QString cellText(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QStringLiteral("<null>");
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (d == std::floor(d) && std::fabs(d) < 1e15) return QString::number(qint64(d));
        return QString::number(d, 'g', 12);
    }
    return v.toString();
}

QStringList rowsText(const Rows& rows) {
    QStringList out;
    for (const auto& row : rows) {
        QStringList cells;
        for (const QVariant& v : row) cells << cellText(v);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// The fixture schema on a fresh PostgreSQL database, reached through the connection.
class FixturePg {
  public:
    FixturePg() {
        auto objects = std::make_shared<md::data::ServerObjects>();
        objects->schemaScript = md::test::readTestFile(QStringLiteral("golden/fixture_schema.sql"));
        objects->catalog = md::test::fixtureCatalog();
        connection.Open(scratch.settings(), objects);
        connection.ExecSQL(objects->schemaScript);
    }

    Rows run(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        ParamMap map;
        for (auto it = params.begin(); it != params.end(); ++it) map.set(it.key(), it.value());
        ResultTable table;
        Rows rows;
        if (!connection.OpenSQL(tsql, table, &map)) return rows;
        lastColumnNames.clear();
        for (const ColumnMeta& c : table.columns) lastColumnNames << c.name;
        for (int r = 0; r < table.rowCount; ++r) {
            md::test::Row row;
            for (int c = 0; c < table.columns.size(); ++c) row.push_back(table.at(r, c));
            rows.push_back(std::move(row));
        }
        return rows;
    }
    void exec(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        ParamMap map;
        for (auto it = params.begin(); it != params.end(); ++it) map.set(it.key(), it.value());
        connection.ExecSQL(tsql, &map);
    }

    md::test::ScratchPgDatabase scratch;
    TRemoteUdpConnection connection;
    QStringList lastColumnNames;
};

class BothBackends : public ::testing::Test {
  protected:
    void SetUp() override {
        arrange(QStringLiteral(
            "insert into goods(goodsid,goodsname,brand,ayear,unitprice,inputdate) values"
            "('A01','Coat','B1',2025,12.5,'2026-01-05'),('a02','Shirt ','b2',2026,20,'2026-01-31 "
            "18:30:00'),"
            "('B03',null,'B1',null,null,'2026-02-01')"));
        arrange(QStringLiteral(
            "insert into ba_color(colorid,colorname_ch) values('RED','红'),('blue','蓝')"));
        arrange(
            QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) "
                           "values('A01','RED'),('A01','blue'),('a02','RED')"));
    }

    void arrange(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        lite.run(tsql, params);
        pg.exec(tsql, params);
    }

    // Runs the text on both; the rows must agree, and are returned.
    QStringList same(const QString& tsql, const QHash<QString, QVariant>& params = {}) {
        const QStringList a = rowsText(lite.run(tsql, params));
        const QStringList b = rowsText(pg.run(tsql, params));
        EXPECT_EQ(a, b) << "on SQLite and PostgreSQL: " << qPrintable(tsql);
        return b;
    }

    FixtureDb lite;
    FixturePg pg;
};

TEST_F(BothBackends, NamesKeepTheirWrittenCaseAndCountHasOneName) {
    pg.run(QStringLiteral(
        "select goodsid as GoodsID, count(*), max(ayear) MaxYear from goods group by goodsid "
        "order by GOODSID desc"));
    EXPECT_EQ(pg.lastColumnNames,
              (QStringList{QStringLiteral("GoodsID"), QStringLiteral("count(*)"),
                           QStringLiteral("MaxYear")}));
    lite.run(QStringLiteral("select count(*) from goods"));
    pg.run(QStringLiteral("select count(*) from goods"));
    EXPECT_EQ(pg.lastColumnNames, lite.lastColumnNames);
    // Names in any case reach one table and column.
    EXPECT_EQ(same(QStringLiteral("select GOODSID from GOODS where GoodsId='a01'")),
              QStringList{"A01"});
}

TEST_F(BothBackends, TextComparesAndMatchesIgnoringCase) {
    EXPECT_EQ(same(QStringLiteral("select goodsid from goods where brand='b1' order by goodsid")),
              (QStringList{"A01", "B03"}));
    same(QStringLiteral("select goodsid from goods where goodsid like 'a%' order by goodsid"));
    same(QStringLiteral("select goodsid from goods where upper(goodsname) like '%shirt%'"));
    same(QStringLiteral(
        "select goodsid from goods where ltrim(rtrim(goodsid))+'x' in ('a01X','A02x') order by 1"));
    same(QStringLiteral(
        "select count(*) from goods where goodsid in (select upper(fgoodsid) from goodscolor)"));
    same(QStringLiteral("select distinct(brand) brand from goods order by brand"));
    same(QStringLiteral("select charindex('OA', goodsname) from goods where goodsid='A01'"));
}

TEST_F(BothBackends, BitsIsnullAndConcatenation) {
    arrange(
        QStringLiteral("insert into ba_fieldremark(fid,fname,ftablename,visiblebit) "
                       "values(1001,'brand','goods',1),"
                       "(1002,'sort','goods',0),(1003,'x','goods',0)"));
    same(QStringLiteral("select fid from ba_fieldremark where visiblebit=1"));
    same(QStringLiteral("select fid, isnull(visiblebit,0) v from ba_fieldremark order by fid"));
    same(
        QStringLiteral("select isnull(ayear,''), isnull(goodsname,0), isnull(unitprice,'') from "
                       "goods order by goodsid"));
    same(QStringLiteral(
        "select coalesce(goodsname, brand), coalesce(ayear, 0) from goods order by goodsid"));
    same(QStringLiteral("select goodsid+'-'+isnull(goodsname,'') from goods order by goodsid"));
    same(QStringLiteral("select '%'+:p+'%'"), {{QStringLiteral("p"), QStringLiteral("x")}});
    // char() and nchar() are functions, not the type of that name.
    same(
        QStringLiteral("select goodsid+char(13)+char(10)+nchar(20320), char(65) from goods "
                       "order by goodsid"));
    same(QStringLiteral(
        "select convert(varchar(30), unitprice), convert(int, unitprice), ayear+'1' from goods "
        "where goodsid='A01'"));
    same(
        QStringLiteral("select fcode='0', fname='正常班次' union all select goodsid, goodsname "
                       "from goods where 1=2"));
    same(QStringLiteral(
        "select isbmp=case when isnull(b.fgoodsid,'')<>'' then convert(bit,1) else convert(bit,0) "
        "end "
        "from goods a left join (select distinct(fgoodsid) fgoodsid from goodscolor)b "
        "on a.goodsid=b.fgoodsid order by a.goodsid"));
}

TEST_F(BothBackends, DatesAsTextAndGetdateInLocalTime) {
    arrange(QStringLiteral(
        "insert into syslog(logindate,fstate) values('2025-12-31','a'),('2026-01-01','b'),"
        "('2026-1-15','c')"));
    same(
        QStringLiteral("select fstate from syslog where convert(datetime,logindate)>='2026-01-01' "
                       "order by fstate"));
    same(
        QStringLiteral("select goodsid from goods where inputdate<='2026-01-31' order by goodsid"));
    same(QStringLiteral("select count(*) from goods where inputdate<:d"),
         {{QStringLiteral("d"), QStringLiteral("2026/2/1")}});
    same(QStringLiteral(
        "select inputdate, convert(varchar(10),inputdate,120), year(inputdate), month(logindate) "
        "from goods, syslog where goodsid='a02' and fstate='c'"));
    same(
        QStringLiteral("select count(*) from goods where "
                       "dbo.getdate1(inputdate)=dbo.getdate1('2026-01-31 07:00')"));
    const QString now = pg.run(QStringLiteral("select getdate()")).front().front().toString();
    const QDateTime local = QDateTime::fromString(now, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(local.isValid()) << qPrintable(now);
    EXPECT_LT(qAbs(local.secsTo(QDateTime::currentDateTime())), 120);
}

TEST_F(BothBackends, TopAndOrderKeepSqlServersNullOrder) {
    same(QStringLiteral("select top 2 goodsid, ayear from goods order by ayear desc"));
    same(QStringLiteral("select goodsid from goods order by goodsname"));
    same(
        QStringLiteral("select top 1 goodsid from goods where brand='b1'\runion all\r"
                       "select top 1 goodsid from goods where brand='B2'"));
    same(QStringLiteral("select top 0 goodsid from goods"));
    same(QStringLiteral(
        "select distinct(fcolor) from (select colorname_ch fcolor from ba_color where colorid is "
        "not null "
        "union all select fcolorid from goodscolor where fcolorid is not null)a order by fcolor"));
}

TEST_F(BothBackends, UpdateFromWithTheTargetAliasedInnerAndLeft) {
    arrange(QStringLiteral(
        "insert into mr_goods(goodsid,fnewgoodsid) values('O1','N1'),('O2','N2'),('O3',null)"));
    arrange(QStringLiteral(
        "insert into mr_smp(fbillid,foldgoodsid,fgoodsid) values('S1','O1',null),('S2','O2','X'),"
        "('S3','O3',''),('S4','O9',null)"));
    arrange(QStringLiteral(
        "update mr_smp set fgoodsid=b.fnewgoodsid from mr_smp a join mr_goods b on "
        "a.foldgoodsid=b.goodsid where b.fnewgoodsid is not null and isnull(a.fgoodsid,'')=''"));
    same(QStringLiteral("select fbillid, fgoodsid from mr_smp order by fbillid"));
    arrange(QStringLiteral(
        "update mr_smp set fbillid=b.fnewgoodsid from mr_smp a left join mr_goods b on "
        "a.foldgoodsid=b.goodsid"));
    same(QStringLiteral("select fbillid from mr_smp order by fautoid"));
    arrange(
        QStringLiteral("delete a from goodscolor a left join ba_color b on a.fcolorid=b.colorid "
                       "where b.colorid is null"));
    arrange(
        QStringLiteral("delete goodscolor from goodscolor a join goods b on a.fgoodsid=b.goodsid "
                       "where b.brand='B2'"));
    same(QStringLiteral("select fgoodsid, fcolorid from goodscolor order by fautoid"));
}

// SQL Server pads the shorter text with blanks, so = and <> ignore trailing
// blanks, written or stored; Chinese sorts in pinyin order, after Latin.
TEST_F(BothBackends, TrailingBlanksDoNotCountAndChineseSortsByPinyin) {
    arrange(QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) values('B03  ','blue')"));
    EXPECT_EQ(same(QStringLiteral("select goodsid from goods where goodsid='a01 '")),
              QStringList{"A01"});
    EXPECT_EQ(same(QStringLiteral("select goodsid from goods where goodsname=:n and 'x '='X'"),
                   {{QStringLiteral("n"), QStringLiteral("shirt")}}),
              QStringList{"a02"});
    EXPECT_EQ(same(QStringLiteral("select goodsid from goods where goodsname<>'Shirt  '")),
              QStringList{"A01"});
    EXPECT_EQ(same(QStringLiteral("select a.goodsid, b.fcolorid from goods a join goodscolor b "
                                  "on a.goodsid=b.fgoodsid where b.fgoodsid='B03'")),
              QStringList{"B03|blue"});
    arrange(QStringLiteral(
        "insert into ba_color(colorid,colorname_ch) values('C1','张'),('C2','阿'),('C3','北京'),"
        "('C4','Zebra'),('C5','中'),('C6','apple')"));
    EXPECT_EQ(same(QStringLiteral("select colorname_ch from ba_color order by colorname_ch")),
              (QStringList{"apple", "Zebra", "阿", "北京", "红", "蓝", "张", "中"}));
}

// Money keeps its fractions through arithmetic, also where the translator does
// not know the column's type (a table of the window's own).
TEST_F(BothBackends, MoneyArithmeticKeepsItsFractions) {
    arrange(QStringLiteral("update goods set unitprice=539 where goodsid='A01'"));
    EXPECT_EQ(same(QStringLiteral("select unitprice/8, isnull(unitprice,0)/8, unitprice*2/8 from "
                                  "goods where goodsid='A01'")),
              QStringList{"67.375|67.375|134.75"});
    arrange(QStringLiteral("create table #amounts (x money null)"));
    arrange(QStringLiteral("insert into #amounts(x) values(539)"));
    arrange(QStringLiteral("insert into #amounts(x) values(540)"));
    EXPECT_EQ(same(QStringLiteral("select avg(isnull(x,0)), avg(x*1) from #amounts")),
              QStringList{"539.5|539.5"});
}

TEST_F(BothBackends, ConversionErrorsFailOnBoth) {
    arrange(QStringLiteral("insert into syslog(logindate) values('not a date')"));
    EXPECT_THROW(lite.run(QStringLiteral("select convert(datetime, logindate) from syslog")),
                 EDatabaseError);
    EXPECT_THROW(pg.run(QStringLiteral("select convert(datetime, logindate) from syslog")),
                 EDatabaseError);
    EXPECT_THROW(pg.run(QStringLiteral("select convert(int, 'abc')+ayear from goods")),
                 EDatabaseError);
}

}  // namespace
