// The system menu: switching user and changing the connection start the
// program again (the data module keeps what it loaded for the whole process),
// 关于 names version, database and backend; and how the program presents
// itself: its name on plain messages, its icon on windows.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "appidentity.h"
#include "connectiondialog.h"
#include "hostfixture.h"
#include "logindialog.h"

namespace {

using namespace md::test;
using md::host::THostMainForm;

class SystemMenu : public HostTest {
  protected:
    static void trigger(THostMainForm& window, const char* action) {
        QAction* found = window.findChild<QAction*>(action);
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }
    // Types a login into the dialog and presses 登录.
    static int logIn(QDialog& dialog, const QString& user, const QString& password) {
        auto* login = qobject_cast<md::host::TLoginDialog*>(&dialog);
        if (!login) return QDialog::Rejected;
        login->findChild<QLineEdit*>("edt_userno")->setText(user);
        login->findChild<QLineEdit*>("edt_password")->setText(password);
        login->findChild<QPushButton*>("btn_login")->click();
        return login->result();
    }
};

TEST_F(SystemMenu, SwitchingUserStartsTheProgramAgainWithTheNewLogin) {
    THostMainForm& window = mainWindow();
    window.openFunction("frm_color");
    // A wrong password first: the dialog says so and stays; then the right one.
    script.onDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "切换用户");
        EXPECT_NE(logIn(dialog, demo::kShopUser, "000000"), QDialog::Accepted);
        return logIn(dialog, demo::kShopUser, demo::kShopPassword);
    });
    trigger(window, "act_switchuser");
    EXPECT_EQ(script.texts(), QStringList{"用户名或密码错误，请重新输入！"});
    ASSERT_EQ(restarts.size(), 1u);
    EXPECT_EQ(restarts[0].arguments, (QStringList{"--db", "demo.db", "--user", "lixiao"}));
    EXPECT_EQ(restarts[0].environment.value("MASTERDATA_PASSWORD"), demo::kShopPassword);
    EXPECT_FALSE(window.isVisible()) << "this run ends";
    EXPECT_EQ(logRows().filter("离开"), QStringList{"基本颜色设置|离开"});
}

TEST_F(SystemMenu, CancellingTheSwitchKeepsEverything) {
    THostMainForm& window = mainWindow();
    script.onDialog([](QDialog&) { return int(QDialog::Rejected); });
    trigger(window, "act_switchuser");
    EXPECT_TRUE(restarts.empty());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(SystemMenu, ANewConnectionIsSavedAndTheProgramStartsOnIt) {
    THostMainForm& window = mainWindow();
    const QString file = home.filePath("other.db");
    script.onDialog([&file](QDialog& dialog) {
        if (!qobject_cast<md::host::TConnectionDialog*>(&dialog)) return int(QDialog::Rejected);
        dialog.findChild<QComboBox*>("cmb_kind")->setCurrentIndex(0);
        dialog.findChild<QLineEdit*>("edt_sqlitefile")->setText(file);
        dialog.accept();
        return dialog.result();
    });
    trigger(window, "act_connection");
    ASSERT_EQ(restarts.size(), 1u);
    EXPECT_TRUE(restarts[0].arguments.isEmpty()) << "no --db: the saved connection applies";
    QSettings saved(home.filePath("connection.ini"), QSettings::IniFormat);
    EXPECT_EQ(saved.value("kind").toString(), "sqlite");
    EXPECT_EQ(saved.value("sqlite/file").toString(), file);
}

TEST_F(SystemMenu, AboutNamesTheVersionTheDatabaseAndTheBackend) {
    THostMainForm& window = mainWindow();
    trigger(window, "act_about");
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().title, "关于");
    const QStringList lines = script.texts().first().split('\n');
    ASSERT_EQ(lines.size(), 5) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "主数据管理");
    EXPECT_FALSE(md::host::programVersion().isEmpty());
    EXPECT_EQ(lines[1], "版本：" + md::host::programVersion());
    EXPECT_EQ(lines[2], "数据库：" + db.conn().databaseName());
    EXPECT_TRUE(
        lines[3].startsWith(db.isPostgres() ? "后端：PostgreSQL " : "后端：SQLite（内嵌数据库） "))
        << lines[3].toStdString();
    EXPECT_GT(lines[3].size(), 12) << "with the server's version";
}

TEST_F(SystemMenu, PlainMessagesCarryTheProgramsNameAndWindowsItsIcon) {
    const QString previousName = QCoreApplication::applicationName();
    md::host::setApplicationIdentity();
    md::ui::ShowMessage("更新成功");
    md::ui::MessageBox("颜色编号不能为空！");
    EXPECT_EQ(script.shown().at(0).title, "主数据管理");
    EXPECT_EQ(script.shown().at(1).title, "系统提示") << "other boxes keep their title";
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(mainWindow().windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    QApplication::setApplicationDisplayName(QString());
    QCoreApplication::setApplicationName(previousName);
    QApplication::setWindowIcon(QIcon());
}

}  // namespace
