// Translated statements run on SQLite with the fixture schema; the results are
// those SQL Server gives for the same text.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>

#include "tsqltestutil.h"

using md::test::FixtureDb;
using md::test::Rows;

namespace {

QStringList column(const Rows& rows, size_t c = 0) {
    QStringList out;
    for (const auto& row : rows)
        out << (row[c].isValid() ? row[c].toString() : QStringLiteral("<null>"));
    return out;
}

QString errorOf(FixtureDb& db, const QString& tsql) {
    try {
        db.run(tsql);
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return {};
}

class Execution : public ::testing::Test {
  protected:
    void SetUp() override {
        db.run(QStringLiteral(
            "insert into goods(goodsid,goodsname,brand,ayear,unitprice,inputdate) values"
            "('A01','Coat','B1',2025,12.5,'2026-01-05'),('a02','Shirt ','b2',2026,20,'2026-01-31 "
            "18:30:00'),"
            "('B03',null,'B1',null,null,'2026-02-01')"));
        db.run(QStringLiteral(
            "insert into ba_color(colorid,colorname_ch) values('RED','红'),('blue','蓝')"));
        db.run(
            QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) "
                           "values('A01','RED'),('A01','blue'),('a02','RED')"));
    }
    FixtureDb db;
};

TEST_F(Execution, TopLimitsRowsAndTopZeroStillNamesTheColumns) {
    EXPECT_EQ(db.run(QStringLiteral("select top 2 * from goods order by goodsid")).size(), 2u);
    const Rows none = db.run(QStringLiteral("select top 0 goodsid,goodsname from goods"));
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(db.lastColumnNames,
              (QStringList{QStringLiteral("goodsid"), QStringLiteral("goodsname")}));
    // TOP belongs to each branch of a union, not to the whole.
    const Rows both =
        db.run(QStringLiteral("select top 1 goodsid from goods where brand='b1'\runion all\r"
                              "select top 1 goodsid from goods where brand='B2'"));
    EXPECT_EQ(column(both), (QStringList{QStringLiteral("A01"), QStringLiteral("a02")}));
}

TEST_F(Execution, IsnullTakesTheTypeOfItsFirstArgument) {
    const Rows rows =
        db.run(QStringLiteral("select isnull(ayear,'') y, isnull(goodsname,0) n, "
                              "isnull(unitprice,'') p from goods where goodsid='B03'"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QVariant(0LL));
    EXPECT_EQ(rows[0][1], QVariant(QStringLiteral("0")));
    EXPECT_EQ(rows[0][2].toDouble(), 0.0);
}

TEST_F(Execution, PlusConcatenatesTextsAndAddsNumbers) {
    db.run(QStringLiteral(
        "insert into d_GoodsReturnNoteDetail(fbillid,fgoodsid) values('K0001','A01')"));
    EXPECT_EQ(
        db.scalar(QStringLiteral(
            "select a.fbillid+convert(varchar(30),a.fautoid) from d_GoodsReturnNoteDetail a")),
        QVariant(QStringLiteral("K00011")));
    // Colours not yet described: the pair of codes, trimmed and glued.
    db.run(QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid) values(' A01','RED ')"));
    const Rows missing =
        db.run(QStringLiteral("select fgoodsid,fcolorid from goodscolor where "
                              "(ltrim(rtrim(fgoodsid))+ltrim(rtrim(fcolorid))) "
                              "not in(select ltrim(rtrim(fgoodsid))+ltrim(rtrim(fcolorid)) from "
                              "ba_goodscolor) order by fautoid"));
    EXPECT_EQ(column(missing, 1), (QStringList{QStringLiteral("blue"), QStringLiteral("RED")}));
    db.run(
        QStringLiteral("insert into dt_supplierprice(fgoodsid,fmasterialprice,fmanualprice) values"
                       "('A01',10,2),('A01',20,null)"));
    EXPECT_DOUBLE_EQ(
        db.scalar(QStringLiteral("select avg(isnull(a.fmasterialprice,0)+isnull(a.fmanualprice,0)) "
                                 "from dt_supplierprice a"))
            .toDouble(),
        16.0);
    // Parameters have no type until run: text glues, a number adds, garbage fails.
    EXPECT_EQ(db.scalar(QStringLiteral("select '%'+:p+'%'"),
                        {{QStringLiteral("p"), QStringLiteral("x")}}),
              QVariant(QStringLiteral("%x%")));
    EXPECT_EQ(
        db.scalar(QStringLiteral("select :p+1"), {{QStringLiteral("p"), QStringLiteral("41")}}),
        QVariant(42LL));
    EXPECT_EQ(db.scalar(QStringLiteral("select ayear+'1' from goods where goodsid='A01'")),
              QVariant(2026LL));
    try {
        db.scalar(QStringLiteral("select :p+1"), {{QStringLiteral("p"), QStringLiteral("abc")}});
        ADD_FAILURE() << "no conversion error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("'abc'"))) << qPrintable(e.message());
    }
}

TEST_F(Execution, ConvertDatetimeComparesLikeSqlServerAtMidnight) {
    db.run(QStringLiteral(
        "insert into syslog(logindate,fstate) values('2025-12-31','a'),('2026-01-01','b'),"
        "('2026-1-5','c'),('2026-01-31','d'),('2026-02-01','e')"));
    const Rows january = db.run(QStringLiteral(
        "select fstate from syslog where convert(datetime,logindate)>='2026-01-01' and "
        "convert(datetime,logindate)<='2026-01-31' order by fautoid"));
    EXPECT_EQ(column(january),
              (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    // A datetime column holding a time of day is after that day's midnight.
    const Rows upTo31 = db.run(
        QStringLiteral("select goodsid from goods where inputdate<='2026-01-31' order by goodsid"));
    EXPECT_EQ(column(upTo31), (QStringList{QStringLiteral("A01")}));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from goods where inputdate<:d"),
                        {{QStringLiteral("d"), QStringLiteral("2026/2/1")}}),
              QVariant(2LL));
    db.run(QStringLiteral("insert into syslog(logindate) values('not a date')"));
    EXPECT_EQ(
        errorOf(db, QStringLiteral(
                        "select * from syslog where convert(datetime,logindate)>='2026-01-01'")),
        QStringLiteral("从字符串转换日期和/或时间时，转换失败。"));
}

TEST_F(Execution, DateValuesWrittenToDateColumnsAreNormalised) {
    db.run(
        QStringLiteral("insert into goods(goodsid,inputdate,lastupdate) "
                       "values('N1','2026-3-7','2026-03-08 10:11:12')"));
    db.run(QStringLiteral("update goods set inputdate=:d where goodsid='N1'"),
           {{QStringLiteral("d"), QStringLiteral("2026/3/9 8:05")}});
    const Rows rows = db.run(QStringLiteral(
        "select inputdate, lastupdate, convert(varchar(10),inputdate,120), "
        "year(lastupdate), month(lastupdate), day(lastupdate) from goods where goodsid='N1'"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QVariant(QStringLiteral("2026-03-09 08:05:00")));
    EXPECT_EQ(rows[0][1], QVariant(QStringLiteral("2026-03-08")));
    EXPECT_EQ(rows[0][2], QVariant(QStringLiteral("2026-03-09")));
    EXPECT_EQ(rows[0][3], QVariant(2026LL));
    EXPECT_EQ(rows[0][4], QVariant(3LL));
    EXPECT_EQ(rows[0][5], QVariant(8LL));
    // The declared types "datetime" and "date" have numeric affinity: the dates
    // must stay text all the same (typeof passes through as an unknown function).
    EXPECT_EQ(db.scalar(QStringLiteral(
                  "select typeof(inputdate)+typeof(lastupdate) from goods where goodsid='N1'")),
              QVariant(QStringLiteral("texttext")));
}

TEST_F(Execution, ConvertToTextPrintsNumbersAsSqlServerDoes) {
    const Rows rows =
        db.run(QStringLiteral("select convert(varchar(30),ayear), convert(varchar(30),unitprice), "
                              "convert(varchar(3),goodsname), "
                              "convert(bit,1), convert(int,'12'), str1=convert(varchar(30),1.5e0) "
                              "from goods where goodsid='A01'"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QVariant(QStringLiteral("2025")));
    EXPECT_EQ(rows[0][1], QVariant(QStringLiteral("12.50")));
    EXPECT_EQ(rows[0][2], QVariant(QStringLiteral("Coa")));
    EXPECT_EQ(rows[0][3], QVariant(1LL));
    EXPECT_EQ(rows[0][4], QVariant(12LL));
    EXPECT_EQ(rows[0][5], QVariant(QStringLiteral("1.5")));
    EXPECT_EQ(db.scalar(QStringLiteral(
                  "select isbmp=case when isnull(b.fgoodsid,'')<>'' then convert(bit,1) "
                  "else convert(bit,0) end from goods a left join goodscolor b on "
                  "a.goodsid=b.fgoodsid where a.goodsid='B03'")),
              QVariant(0LL));
}

TEST_F(Execution, UpdateFromJoinUpdatesEachRowWithItsOwnValues) {
    db.run(QStringLiteral(
        "insert into mr_goods(goodsid,fnewgoodsid) values('O1','N1'),('O2','N2'),('O3',null)"));
    db.run(QStringLiteral(
        "insert into mr_smp(fbillid,foldgoodsid,fgoodsid) values"
        "('s1','O1',''),('s2','O2',null),('s3','O3',null),('s4','O1','KEEP'),('s5','O9',null)"));
    db.run(QStringLiteral(
        "update mr_smp set fgoodsid=b.fnewgoodsid from mr_smp a join mr_goods b on "
        "a.foldgoodsid=b.goodsid where b.fnewgoodsid is not null and isnull(a.fgoodsid,'')=''"));
    const Rows rows = db.run(QStringLiteral("select fgoodsid from mr_smp order by fbillid"));
    EXPECT_EQ(column(rows),
              (QStringList{QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("<null>"),
                           QStringLiteral("KEEP"), QStringLiteral("<null>")}));

    // A left join updates every row of the target; a row without a partner gets null.
    db.run(QStringLiteral(
        "update mr_smp set fbillid=b.fnewgoodsid from mr_smp a left join mr_goods b on "
        "a.foldgoodsid=b.goodsid where a.fgoodsid is not null or a.foldgoodsid='O9'"));
    const Rows left = db.run(QStringLiteral("select fbillid from mr_smp order by fautoid"));
    EXPECT_EQ(column(left),
              (QStringList{QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("s3"),
                           QStringLiteral("N1"), QStringLiteral("<null>")}));
}

TEST_F(Execution, UpdateFromAggregatedDerivedTableAndTableFunction) {
    db.run(QStringLiteral(
        "insert into planprice(fgoodsid,planprice) values('A01',0),('a02',null),('B03',7)"));
    db.run(
        QStringLiteral("insert into dt_supplierprice(fgoodsid,fmasterialprice,fmanualprice) values"
                       "('A01',10,2),('A01',20,null),('a02',5,5),('B03',1,1)"));
    db.run(QStringLiteral(
        "update planprice set planprice=b.planprice from planprice a join (select fgoodsid,"
        "avg(isnull(fmasterialprice,0)+isnull(fmanualprice,0)) planprice\nfrom dt_supplierprice "
        "group by fgoodsid)b "
        "on a.fgoodsid=b.fgoodsid where isnull(a.planprice,0)=0"));
    const Rows prices = db.run(QStringLiteral("select planprice from planprice order by fgoodsid"));
    EXPECT_EQ(column(prices),
              (QStringList{QStringLiteral("16"), QStringLiteral("10"), QStringLiteral("7")}));

    db.run(QStringLiteral(
        "insert into hstock_planprice(fhousecode,fgoodsid,fdate,fqty,fplanprice) values"
        "('H01','A01','2026-01-10',5,3),('H01','A01','2026-01-31',1,null),"
        "('H01','a02','2026-01-31',2,0),('H02','A01','2026-01-31',1,null)"));
    db.run(QStringLiteral(
        "update hstock_planprice set fplanprice=b.planprice from hstock_planprice a\n"
        "join (select * from FN_HousePlanprice('H01','2026-01-01','2026-01-31'))b on "
        "a.fgoodsid=b.fgoodsid\n"
        "where a.fhousecode='H01' and a.fdate='2026-01-31' and isnull(fplanprice,0)=0"));
    const Rows rows =
        db.run(QStringLiteral("select fplanprice from hstock_planprice order by fautoid"));
    EXPECT_EQ(column(rows), (QStringList{QStringLiteral("3"), QStringLiteral("4"),
                                         QStringLiteral("1"), QStringLiteral("<null>")}));
}

TEST_F(Execution, DeleteJoinedToAnotherTableRemovesOnlyMatchingRows) {
    db.run(
        QStringLiteral("delete a from goodscolor a left join ba_color b on a.fcolorid=b.colorid "
                       "where b.colorid is null"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from goodscolor")), QVariant(3LL));
    db.run(
        QStringLiteral("delete goodscolor from goodscolor a join goods b on a.fgoodsid=b.goodsid "
                       "where b.brand='B2'"));
    EXPECT_EQ(column(db.run(QStringLiteral("select fgoodsid from goodscolor order by fautoid"))),
              (QStringList{QStringLiteral("A01"), QStringLiteral("A01")}));
}

TEST_F(Execution, TextComparisonsIgnoreCase) {
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ba_color where colorid='red'")),
              QVariant(1LL));
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from ba_color where colorid in('RED','BLUE')")),
        QVariant(2LL));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ba_color where ltrim(colorid)='Red'")),
              QVariant(1LL));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from ba_color where 'BLUE'=colorid")),
              QVariant(1LL));
    EXPECT_EQ(db.scalar(QStringLiteral(
                  "select count(*) from vgoodscolor where colorid='red' and goodsid='A02'")),
              QVariant(1LL));
    EXPECT_EQ(
        db.scalar(QStringLiteral("select count(*) from goods where isnull(brand,'') in('b1')")),
        QVariant(2LL));
    EXPECT_EQ(
        db.scalar(QStringLiteral("select case brand when 'b2' then 'yes' else 'no' end from goods "
                                 "where goodsid='A02'")),
        QVariant(QStringLiteral("yes")));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from goods where goodsname like 'co%'")),
              QVariant(1LL));
}

TEST_F(Execution, ChineseNamesAndTableFunctionsAndScalarFunctions) {
    db.run(
        QStringLiteral("insert into barcode(fgoodsid,fcolorid,fsize,fbarcode1) "
                       "values('A01','RED','XL','690001')"));
    const Rows label =
        db.run(QStringLiteral("select top 1 * from vbarcode where 条形码1='690001'"));
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(db.lastColumnNames.mid(0, 4),
              (QStringList{QStringLiteral("货号"), QStringLiteral("颜色编号"),
                           QStringLiteral("尺码"), QStringLiteral("条形码1")}));
    EXPECT_EQ(label[0][4], QVariant(QStringLiteral("Coat")));
    EXPECT_EQ(column(db.run(QStringLiteral("select goodsid from fn_checkgoods('') where 1=1 and "
                                           "brand in('b1') order by goodsid"))),
              (QStringList{QStringLiteral("A01"), QStringLiteral("B03")}));
    EXPECT_EQ(
        column(db.run(
            QStringLiteral("select dbo.goodsname1(fgoodsid) from goodscolor order by fautoid"))),
        (QStringList{QStringLiteral("Coat"), QStringLiteral("Coat"), QStringLiteral("Shirt ")}));
    db.run(
        QStringLiteral("insert into d_GoodsReturnNote(fbillid,fbilldate) "
                       "values('K1',convert(varchar(10),getdate(),120)),('K2','2020-01-01')"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(fbillid) from d_GoodsReturnNote where "
                                       "dbo.getdate1(fbilldate)=dbo.getdate1(getdate())")),
              QVariant(1LL));
}

TEST_F(Execution, SubSelectColumnsMissingInsideBindToTheOuterTable) {
    db.run(
        QStringLiteral("insert into ba_goodscolor(fgoodsid,fcolorid) "
                       "values('A01','RED'),('B03','RED'),('Z9','RED')"));
    const Rows rows = db.run(QStringLiteral(
        "select fgoodsid from ba_goodscolor where 1=1 \r and fgoodsid in(select goodsid "
        "from goods where 1=1 and brand='B1' and fgoodsid like '%0%') order by fgoodsid"));
    EXPECT_EQ(column(rows), (QStringList{QStringLiteral("A01"), QStringLiteral("B03")}));
}

// A bracketed name that is no plain identifier still names a column: printed
// bare, SQLite would read "$x" as a parameter and answer with nulls.
TEST_F(Execution, BracketedNamesThatAreNotPlainIdentifiersStayNames) {
    EXPECT_FALSE(errorOf(db, QStringLiteral("select [$x] from goods")).isEmpty());
    EXPECT_FALSE(
        errorOf(db, QStringLiteral("select goodsid from goods where [$x] is null")).isEmpty());
    EXPECT_FALSE(errorOf(db, QStringLiteral("select [?1], [:a], [@b] from goods")).isEmpty());
    db.run(
        QStringLiteral("create table odd ([$x] int, [a b] int, [货号（旧）] int)\r"
                       "insert into odd([$x], [a b], [货号（旧）]) values(1, 2, 3)"));
    const Rows rows =
        db.run(QStringLiteral("select [$x], [a b], [货号（旧）] from odd where [$x]=1"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2].toInt(), 3);
}

// The tallest chain the parser takes goes through every pass and runs.
TEST_F(Execution, ATallOperatorChainTranslatesAndRuns) {
    QString sum = QStringLiteral("1");
    for (int i = 1; i < 900; ++i) sum += QStringLiteral("+1");
    const Rows rows = db.run(QStringLiteral("select ") + sum + QStringLiteral(" as n"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toInt(), 900);
}

TEST_F(Execution, BatchesRunEveryStatementInOrder) {
    db.run(QStringLiteral(
        "delete from goods where goodsid='A01'\rdelete from goodscolor where fgoodsid='A01'\r"
        "insert into syslog(logindate,begintime,userno,clientname,modename,fbillid,fstate)values("
        "'2026-01-31','10:00:00','001',\r'','窗口','','进入')"));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from goods")), QVariant(2LL));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from goodscolor")), QVariant(1LL));
    EXPECT_EQ(db.scalar(QStringLiteral("select modename from syslog")),
              QVariant(QStringLiteral("窗口")));
}

TEST_F(Execution, ParametersInWhereBindTheOldValue) {
    db.run(QStringLiteral("update goods set goodsid=:goodsid where goodsid=:goodsid"),
           {{QStringLiteral("goodsid"), QStringLiteral("A09")},
            {QStringLiteral("old.goodsid"), QStringLiteral("A01")}});
    EXPECT_EQ(column(db.run(QStringLiteral("select goodsid from goods order by goodsid"))),
              (QStringList{QStringLiteral("a02"), QStringLiteral("A09"), QStringLiteral("B03")}));
}

TEST_F(Execution, BuiltInFunctions) {
    const Rows rows = db.run(QStringLiteral(
        "select len(goodsname), right(goodsname,3), left(goodsname,2), charindex('IR',goodsname), "
        "substring(goodsname,2,3), upper(goodsname), len(newid()), distinct_count=(select "
        "count(distinct(brand)) from goods) "
        "from goods where goodsid='a02'"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QVariant(5LL));  // trailing blanks do not count
    EXPECT_EQ(rows[0][1], QVariant(QStringLiteral("rt ")));
    EXPECT_EQ(rows[0][2], QVariant(QStringLiteral("Sh")));
    EXPECT_EQ(rows[0][3], QVariant(3LL));
    EXPECT_EQ(rows[0][4], QVariant(QStringLiteral("hir")));
    EXPECT_EQ(rows[0][5], QVariant(QStringLiteral("SHIRT ")));
    EXPECT_EQ(rows[0][6], QVariant(36LL));
    EXPECT_EQ(rows[0][7], QVariant(2LL));
    const QString now = db.scalar(QStringLiteral("select getdate()")).toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(now)
                    .hasMatch());
    // Local time, not UTC.
    EXPECT_LT(qAbs(QDateTime::fromString(now, QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                       .secsTo(QDateTime::currentDateTime())),
              3600);
    const QString key =
        db.scalar(QStringLiteral("select top 1 * from dbo.V_GetPassWord12")).toString();
    EXPECT_EQ(key.size(), 12);
    EXPECT_NE(key, db.scalar(QStringLiteral("select top 1 * from dbo.V_GetPassWord12")).toString());
}

TEST_F(Execution, YearAndMonthOfTextDates) {
    db.run(QStringLiteral(
        "insert into KQ_EmpBanCi(fempcode,fbilldate) values('E1','2026-03-01'),('E1','2026-04-01'),"
        "('E2','2025-03-15')"));
    db.run(QStringLiteral(
        "delete from KQ_EmpBanCi where year(fbilldate)=2026 and month(fbilldate)=3"));
    EXPECT_EQ(column(db.run(QStringLiteral("select fbilldate from KQ_EmpBanCi order by fautoid"))),
              (QStringList{QStringLiteral("2026-04-01"), QStringLiteral("2025-03-15")}));
}

TEST_F(Execution, GroupByDistinctAndEmptyResults) {
    EXPECT_EQ(column(db.run(QStringLiteral(
                  "select distinct(fgoodsid) fgoodsid from goodscolor order by fgoodsid"))),
              (QStringList{QStringLiteral("A01"), QStringLiteral("a02")}));
    EXPECT_EQ(db.lastColumnNames, QStringList{QStringLiteral("fgoodsid")});
    const Rows counts =
        db.run(QStringLiteral("select fcolorid,count(*) fcount from goodscolor group by fcolorid "
                              "having count(*)>1"));
    ASSERT_EQ(counts.size(), 1u);
    EXPECT_EQ(counts[0][1], QVariant(2LL));
    EXPECT_TRUE(db.run(QStringLiteral("select * from goods where 1=2")).empty());
    EXPECT_EQ(db.scalar(QStringLiteral("select isnull(max(fid),0) fid from ba_fieldremark")),
              QVariant(0LL));
}

TEST_F(Execution, IdentityAndDefaultsComeFromTheTranslatedSchema) {
    db.run(QStringLiteral("insert into ba_fieldremark(fid,fname) values(1001,'x')"));
    EXPECT_EQ(db.scalar(QStringLiteral("select visiblebit from ba_fieldremark where fid='1001'")),
              QVariant(1LL));
    db.run(QStringLiteral("insert into goods(goodsid) values('D1')"));
    const QString input =
        db.scalar(QStringLiteral("select inputdate from goods where goodsid='D1'")).toString();
    EXPECT_EQ(input.left(10), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_EQ(db.scalar(QStringLiteral("select max(fautoid) from goodscolor")), QVariant(3LL));
    EXPECT_FALSE(
        errorOf(db, QStringLiteral("insert into goodscolor(fgoodsid,fcolorid) values('A01','red')"))
            .isEmpty())
        << "the key (fgoodsid,fcolorid) ignores case like the server's collation";
}

}  // namespace
