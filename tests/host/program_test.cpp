// The built program, run as a script would run it: the first start, passwords
// kept out of the process list, functions that cannot be opened, and quitting
// with windows open.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "serverdb.h"
#include "testdb.h"

namespace {

class HostProgram : public ::testing::Test {
  protected:
    struct Run {
        int status = -1;
        QString errors;
    };
    Run run(const QStringList& arguments, const QByteArray& input = {},
            const QString& passwordVariable = {}) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("MASTERDATA_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.remove("MASTERDATA_PASSWORD");
        if (!passwordVariable.isNull()) environment.insert("MASTERDATA_PASSWORD", passwordVariable);
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationDirPath() + "/masterdata", arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(-1);
        Run result;
        result.errors = QString::fromUtf8(process.readAllStandardError());
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return result;
    }
    // Rows of the program's database, columns joined by "|".
    QStringList rows(const QString& tsql) {
        TRemoteUdpConnection connection;
        md::server::openDatabase(connection, ConnectionSettings::sqlite(db), false);
        ResultTable table;
        connection.OpenSQL(tsql, table);
        QStringList out;
        for (int row = 0; row < table.rowCount; ++row) {
            QStringList cells;
            for (int column = 0; column < table.columns.size(); ++column)
                cells << table.at(row, column).toString();
            out << cells.join('|');
        }
        return out;
    }
    QTemporaryDir home;
    const QString db = home.filePath("demo.db");
};

TEST_F(HostProgram, FirstStartCreatesAPrivateDemoDatabaseAndTakesAPicture) {
    const QString png = home.filePath("main.png");
    Run wrong = run({"--db", db, "--user", "admin", "--password", "wrong", "--quit"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.errors.contains("用户名或密码错误")) << wrong.errors.toStdString();
    EXPECT_EQ(QFileInfo(db).permissions() & 0x7777,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser)
        << "readable by its owner only";
    Run pictured = run({"--db", db, "--user", "admin", "--password", "admin", "--open", "frm_color",
                        "--screenshot", png, "--quit"});
    EXPECT_EQ(pictured.status, 0) << pictured.errors.toStdString();
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 800);
}

TEST_F(HostProgram, ThePasswordMayComeFromStandardInputOrTheEnvironment) {
    EXPECT_EQ(run({"--db", db, "--user", "admin", "--password-stdin", "--quit"}, "admin\n").status,
              0);
    EXPECT_EQ(run({"--db", db, "--user", "admin", "--password-stdin", "--quit"}, "admim\n").status,
              2);
    EXPECT_EQ(run({"--db", db, "--user", "lixiao", "--quit"}, {}, "123456").status, 0);
    EXPECT_EQ(run({"--db", db, "--user", "lixiao", "--quit"}, {}, "654321").status, 2);
    EXPECT_EQ(rows("select userno,modename,fstate from syslog where fstate='登录失败' "
                   "order by fautoid"),
              (QStringList{"admin|用户登录|登录失败", "lixiao|用户登录|登录失败"}));
}

TEST_F(HostProgram, AFunctionThatCannotOpenIsNamedOnStandardErrorAndEndsTheRun) {
    const QStringList login{"--db", db, "--user", "lixiao", "--password", "123456", "--quit"};
    const auto open = [&](const QString& name) { return run(login + QStringList{"--open", name}); };
    Run unknown = open("frm_nothing");
    EXPECT_EQ(unknown.status, 4);
    EXPECT_TRUE(unknown.errors.contains("没有名为“frm_nothing”的功能"))
        << unknown.errors.toStdString();
    Run forbidden = open("frm_ltd");
    EXPECT_EQ(forbidden.status, 4);
    EXPECT_TRUE(forbidden.errors.contains("您没有使用“公司信息”的权限"))
        << forbidden.errors.toStdString();
    EXPECT_EQ(open("frm_color").status, 0);
}

TEST_F(HostProgram, QuittingWithAWindowOpenClosesItThroughItsClosePath) {
    const QStringList login{"--db", db, "--user", "admin", "--password", "admin", "--quit"};
    EXPECT_EQ(run(login + QStringList{"--open", "frm_size"}).status, 0);
    // A modal function is closed too, though no picture was asked for.
    EXPECT_EQ(run(login + QStringList{"--open", "frm_dpt"}).status, 0);
    // The demo database comes with a month of other windows' entries.
    EXPECT_EQ(rows("select modename,fstate from syslog where modename in('尺码资料','部门资料') "
                   "order by fautoid"),
              (QStringList{"尺码资料|进入", "尺码资料|离开", "部门资料|进入", "部门资料|离开"}));
    // A window that asks on closing gets No, and the question is named.
    const Run asking = run(login + QStringList{"--open", "frm_BarcodeGuID"});
    EXPECT_EQ(asking.status, 0);
    EXPECT_TRUE(asking.errors.contains("退出时的提问（答“否”）：您是否确认清空此表?"))
        << asking.errors.toStdString();
}

}  // namespace
