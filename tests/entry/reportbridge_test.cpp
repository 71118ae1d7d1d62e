// The report plug-in bridge: the plug-in beside the program answers the report
// names with read-only windows in the host's MDI area, restricted to the user's scopes.
#include "reportbridge.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryDir>

#include "createdllform.h"
#include "gridexport.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "session.h"
#include "sharedvalues.h"
#include "testdb.h"

namespace {

class ReportBridge : public ::testing::Test {
  protected:
    ReportBridge() {
        qputenv("MASTERDATA_HOME",
                home.path().toLocal8Bit());  // no plug-in there: found beside the program
        md::entry::resetModule();
        md::Shared() = md::SharedValues();
        mainWindow.setCentralWidget(new QMdiArea);
        db.exec(
            "insert into dt_client(fid,fcode,fname,fabbrev) "
            "values('ID02','C02','杭州湖滨店','湖滨店')");
        db.exec(
            "insert into dt_client(fid,fcode,fname,fabbrev) "
            "values('ID01','C01','上海南京路店','南京路店')");
        db.exec("insert into userclient(fgroupid,fclientcode,fstockbit) values('u1','C01',0)");
        CreateDLLForm(qApp, QGuiApplication::primaryScreen(), "", "u1", "frm_client", &db.conn(),
                      &mainWindow);
    }
    ~ReportBridge() override {
        for (QMdiSubWindow* frame : area()->subWindowList()) delete frame;
        md::entry::resetModule();
        md::Session() = md::SessionContext();
        qunsetenv("MASTERDATA_HOME");
    }
    QMdiArea* area() { return static_cast<QMdiArea*>(mainWindow.centralWidget()); }

    QTemporaryDir home;
    md::test::TestDb db;
    QMainWindow mainWindow;
};

TEST_F(ReportBridge, ClientReportOpensInTheHostWithTheUsersClientsOnly) {
    md::OpenReportForm("frm_re_client");
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->windowTitle(), "客户资料表");
    ASSERT_EQ(area()->subWindowList().size(), 1);
    EXPECT_EQ(area()->subWindowList().first()->widget(), report);

    auto* rows = report->findChild<TRemoteUdpDataSet*>("DBmaster_table");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->SQL(),
              "select fcode,fname,fabbrev,fmathod,fgrad,fcontactman,ftel1,faddres,fcredit_type,"
              "fcredit,(select fName from ba_Area where ba_Area.fCode=dt_client.fareacode) as "
              "fareaname from dt_client where 1=1 and fcode in('C01') order by fcode");
    ASSERT_EQ(rows->RecordCount(), 1);
    EXPECT_EQ(rows->FieldByName("fname").AsString(), "上海南京路店");

    md::OpenReportForm("frm_re_client");  // once per report while it is open
    EXPECT_EQ(md::lastReportWindow(), report);
    EXPECT_EQ(area()->subWindowList().size(), 1);
}

TEST_F(ReportBridge, ReportPrintsAndExportsUnderTheCallersRights) {
    db.exec("insert into dr_right(autoid,listname) values(1,'frm_client')");
    db.exec("insert into dr_rightdetail(autoid,groupid,b_print,b_excel) values(1,'G1',1,1)");
    db.exec("insert into usermainde(userno,fgroupid) values('u1','G1')");
    md::OpenReportForm("frm_re_client");
    auto* report = qobject_cast<QWidget*>(md::lastReportWindow());
    ASSERT_NE(report, nullptr);
    auto* print = report->findChild<QAction*>("print_action");
    auto* excel = report->findChild<QAction*>("excel_action");
    ASSERT_TRUE(print && excel);
    ASSERT_TRUE(print->isEnabled() && excel->isEnabled());

    const QString file = home.filePath("clients.xlsx");
    QString opened;
    md::ui::SetDesktopOpener([&](const QString& f) { opened = f; });
    md::ui::MessageScript script;
    QStringList dialogs;
    script.onDialog([&](QDialog& dialog) {
        dialogs << dialog.metaObject()->className();
        if (auto* save = qobject_cast<QFileDialog*>(&dialog)) {
            save->selectFile(file);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });
    print->trigger();
    excel->trigger();
    md::ui::SetDesktopOpener({});
    EXPECT_EQ(dialogs.size(), 2);
    EXPECT_TRUE(script.shown().isEmpty()) << script.texts().join(" | ").toStdString();
    EXPECT_GT(QFileInfo(file).size(), 0);
    EXPECT_EQ(opened, file);
    EXPECT_EQ(db.count("syslog where modename='客户资料表' and fstate in('打印','导出')"), 2);
}

TEST_F(ReportBridge, UnknownReportGivesNothing) {
    md::OpenReportForm("frm_re_nothing");
    EXPECT_EQ(md::lastReportWindow(), nullptr);
    EXPECT_TRUE(area()->subWindowList().isEmpty());
}

}  // namespace
