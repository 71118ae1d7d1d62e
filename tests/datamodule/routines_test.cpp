// The shared routines: EAN-13 completion, the rights query and loader, the
// operation log, settings files in GBK and UTF-8.
#include "routines.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringEncoder>

#include "errors.h"
#include "inifile.h"
#include "remoteudpdataset.h"
#include "sessionfixture.h"

namespace {

using Routines = md::test::SessionFixture;

TEST(Ean13, CompletesTwelveDigitsAndCutsLongerCodes) {
    EXPECT_EQ(md::CompleteEan13("400638133393"), "4006381333931");
    EXPECT_EQ(md::CompleteEan13("690123456789"), "6901234567892");
    EXPECT_EQ(md::CompleteEan13("000000000000"), "0000000000000");  // 10 - 0 is written as 0
    EXPECT_EQ(md::CompleteEan13("4006381333937XYZ"), "4006381333931");
    EXPECT_EQ(md::CompleteEan13("40063813339"), "");
    EXPECT_EQ(md::CompleteEan13(""), "");
}

TEST(Ean13, ANonDigitAmongTheFirstTwelveIsAnError) {
    try {
        md::CompleteEan13("4006381A3393");
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains("4006381A3393")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("8")) << "position of the bad character";
    }
}

TEST_F(Routines, RightsQueryTextIsSentAsBuilt) {
    EXPECT_EQ(md::RightsQuery("u1", "frm_color"),
              "select top 1 a.* from dr_rightdetail a,dr_right b where a.autoid=b.autoid\r"
              "and(a.b_add=1 or a.b_edit=1 or a.b_del=1 or a.b_browse=1 or a.b_posted=1 or "
              "a.b_print=1 or "
              "a.b_excel=1 or a.b_unposted=1)\r"
              "and(a.groupid in(select fgroupid from usermainde where "
              "userno='u1'))and(b.listname='frm_color')");
    md::LoadRights("frm_color");
    EXPECT_EQ(db.conn().log().last(), md::RightsQuery("u1", "frm_color"));
}

TEST_F(Routines, EachRightColumnSetsItsOwnFlag) {
    joinGroup("u1", "G1");
    grant("frm_a", "G1", {"b_add", "b_del", "b_unposted"});
    grant("frm_b", "G1", {"b_edit", "b_print", "b_posted", "b_excel"});
    const md::RightFlags a = md::LoadRights("frm_a");
    EXPECT_TRUE(a.RightAdd && a.RightDelete && a.RightUnposted);
    EXPECT_FALSE(a.RightEdit || a.RightPrint || a.RightPosted || a.RightExcel);
    const md::RightFlags b = md::LoadRights("frm_b");
    EXPECT_TRUE(b.RightEdit && b.RightPrint && b.RightPosted && b.RightExcel);
    EXPECT_FALSE(b.RightAdd || b.RightDelete || b.RightUnposted);
}

TEST_F(Routines, RightsGoThroughTheUsersGroupsOnly) {
    joinGroup("u2", "G2");
    grant("frm_a", "G2", {"b_add"});
    grant("frm_b", "G1", {"b_add"});  // u1 is not in G1
    joinGroup("u1", "G3");
    EXPECT_FALSE(md::LoadRights("frm_a").RightAdd);
    EXPECT_FALSE(md::HasRight("frm_b"));
    EXPECT_FALSE(md::LoadRights("frm_none").RightAdd);

    grant("frm_c", "G3", {"b_browse"});  // a row with browse only: found, but no flag
    EXPECT_TRUE(md::HasRight("frm_c"));
    const md::RightFlags c = md::LoadRights("frm_c");
    EXPECT_FALSE(c.RightAdd || c.RightEdit || c.RightDelete || c.RightPrint || c.RightExcel);
}

// Statements of our own carry values as parameters: a quote in a value is
// data, and the text sent is the same whatever the value.
TEST_F(Routines, ParameterOverloadsKeepValuesOutOfTheText) {
    const QString hostile = QStringLiteral("x'); delete from config; --");
    md::ExecuteSQL(
        QStringLiteral("insert into ba_color(colorid,colorname_ch) values(:id,:name)"),
        {{QStringLiteral("id"), QStringLiteral("Q1")}, {QStringLiteral("name"), hostile}});
    EXPECT_EQ(db.conn().log().last(),
              QStringLiteral("insert into ba_color(colorid,colorname_ch) values(:id,:name)"));
    TRemoteUdpDataSet query;
    md::OpenQuery(query, QStringLiteral("select colorname_ch from ba_color where colorid=:id"),
                  {{QStringLiteral("id"), QStringLiteral("q1")}});
    ASSERT_FALSE(query.IsEmpty());
    EXPECT_EQ(query.Fields(0).AsString(), hostile);
    EXPECT_THROW(md::ExecuteSQL(QStringLiteral("delete from ba_color where colorid=:id"),
                                {{QStringLiteral("code"), QStringLiteral("Q1")}}),
                 EDatabaseError);
}

TEST_F(Routines, OperationLogRowAsWritten) {
    md::Session().UserNo = "admin";
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    md::WriteOperationLog("O'Neil 的窗口", "G001",
                          "进入");  // a quote in the caption no longer breaks it
    const QString sent = db.conn().log().last();
    EXPECT_TRUE(sent.startsWith(
        "insert into syslog(logindate,begintime,userno,clientname,modename,fbillid,fstate)"
        "values('" +
        today + "','"));
    EXPECT_TRUE(sent.endsWith("','admin',\r'','O''Neil 的窗口','G001','进入')"))
        << sent.toStdString();

    ResultTable rows;
    db.conn().OpenSQL(
        "select logindate,begintime,userno,clientname,modename,fbillid,fstate from syslog", rows);
    ASSERT_EQ(rows.rowCount, 1);
    EXPECT_EQ(rows.at(0, 0).toString(), today);
    EXPECT_TRUE(
        QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(rows.at(0, 1).toString()).hasMatch());
    EXPECT_EQ(rows.at(0, 2).toString(), "admin");
    EXPECT_EQ(rows.at(0, 3).toString(), "");
    EXPECT_EQ(rows.at(0, 4).toString(), "O'Neil 的窗口");
    EXPECT_EQ(rows.at(0, 5).toString(), "G001");
    EXPECT_EQ(rows.at(0, 6).toString(), "进入");
}

TEST(IniFile, ReadsGbkAndUtf8Alike) {
    const QString text =
        "; 考勤设置\r\n[KQSoft]\r\ndatalinkstr = "
        "考勤机数据源\r\n[BarList]\r\nBar1=\"吊牌打印.exe\"\r\nBar2=\r\n";
    QStringEncoder gbk("GBK");
    ASSERT_TRUE(gbk.isValid());
    const QByteArray gbkBytes = gbk.encode(text);
    ASSERT_NE(gbkBytes, text.toUtf8());
    const QList<QByteArray> encodings = {gbkBytes, text.toUtf8(),
                                         QByteArray("\xEF\xBB\xBF") + text.toUtf8()};
    for (const QByteArray& bytes : encodings) {
        const md::IniFile ini = md::IniFile::parse(md::decodeSettingsText(bytes));
        EXPECT_EQ(ini.value("kqsoft", "DataLinkStr", "x"), "考勤机数据源");
        EXPECT_EQ(ini.value("BarList", "Bar1", "x"), "吊牌打印.exe");
        EXPECT_EQ(ini.value("BarList", "Bar2", "x"), "");  // written empty: empty, not the fallback
        EXPECT_EQ(ini.value("BarList", "Bar3", "x"), "x");  // absent
        EXPECT_EQ(ini.value("config", "fontsize", "10"), "10");
    }
}

TEST_F(Routines, SettingsFilesAreFoundInTheHostFolderInAnyCase) {
    EXPECT_EQ(md::HostProgramFolder(), home.path() + "/");
    QStringEncoder gbk("GBK");
    writeFile("SoftConfig.INI",
              gbk.encode(QString("[config]\nfontsize=14\n[KQSoft]\ndatalinkstr=考勤\n")));
    EXPECT_EQ(
        md::ReadIniString(md::settingsFilePath("softconfig.ini"), "KQSoft", "datalinkstr", ""),
        "考勤");
    writeSoftConfig("[config]\nfontsize=11\n");  // the exact name wins
    md::LoadSizeSlotsAndSettings();
    EXPECT_EQ(md::Shared().GridFontSize, 11);
}

}  // namespace
