// The host program: login, the main window's functions and open-window list,
// and the unattended run with a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include "automation.h"
#include "createdllform.h"
#include "demo/demodata.h"
#include "formregistry.h"
#include "hostdatabase.h"
#include "hostmainwindow.h"
#include "logindialog.h"
#include "messages.h"
#include "session.h"
#include "testdb.h"

namespace {

namespace demo = md::server::demo;
using md::host::THostMainForm;

class Host : public ::testing::Test {
  protected:
    Host() {
        qputenv("MASTERDATA_HOME", home.path().toLocal8Bit());
        md::server::createDemoData(db.conn(), 0, {});
        EXPECT_TRUE(module.load()) << module.errorString().toStdString();
    }
    ~Host() override {
        md::entry::resetModule();
        for (const auto& [name, factory] : m_replaced) md::entry::setFormFactory(name, factory);
        md::Session() = md::SessionContext();
        qunsetenv("MASTERDATA_HOME");
    }
    void install(const char* name, md::entry::FormFactory factory) {
        m_replaced.emplace_back(name, md::entry::setFormFactory(name, factory));
    }

    QTemporaryDir home;
    md::test::TestDb db;
    md::host::ModuleLibrary module;

  private:
    std::vector<std::pair<const char*, md::entry::FormFactory>> m_replaced;
};

// A record editor in miniature: registers its caption with the host window.
QDialog* makeCaptionedForm(QWidget* owner) {
    auto* form = new QDialog(owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowTitle("货品档案");
    form->resize(400, 300);
    if (IOpenWindowList* list = md::openWindowList()) list->AddCaption(form->windowTitle());
    QObject::connect(form, &QObject::destroyed, [] {
        if (IOpenWindowList* list = md::openWindowList())
            list->DeleteCaption(list->FindCaption("货品档案"));
    });
    return form;
}

// A modal function whose picture is easy to find: solid red.
QDialog* makeRedDialog(QWidget* owner) {
    auto* dialog = new QDialog(owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle("部门资料");
    dialog->setStyleSheet("background: #ff0000;");
    dialog->resize(300, 200);
    return dialog;
}

QStringList menuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

TEST_F(Host, LoginRefusesAWrongPasswordAndLetsTheUserRetry) {
    md::ui::MessageScript script;
    md::host::TLoginDialog login(db.conn());
    login.setUserNo(demo::kAdminUser);
    auto* password = login.findChild<QLineEdit*>("edt_password");
    ASSERT_NE(password, nullptr);

    password->setText("wrong");
    login.accept();
    EXPECT_NE(login.result(), QDialog::Accepted);
    ASSERT_EQ(script.texts(), QStringList{"用户名或密码错误，请重新输入！"});
    EXPECT_EQ(script.shown().first().title, "系统提示");
    EXPECT_EQ(password->text(), "");  // cleared for the next try

    password->setText(demo::kAdminPassword);
    login.accept();
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(login.userNo(), demo::kAdminUser);
    EXPECT_EQ(login.userName(), "系统管理员");
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(Host, UnknownUsersAreRefusedLikeWrongPasswords) {
    EXPECT_FALSE(md::host::checkLogin(db.conn(), "nobody", "admin"));
    EXPECT_FALSE(md::host::checkLogin(db.conn(), "admin' or '1'='1", "x"));
    EXPECT_EQ(md::host::checkLogin(db.conn(), demo::kShopUser, demo::kShopPassword).value_or(""),
              "李晓");
}

TEST_F(Host, FunctionsOpenAsOneMdiChildListedInTheWindowMenu) {
    install("frm_goods", &makeCaptionedForm);
    THostMainForm window(module, db.conn(), demo::kAdminUser, "系统管理员");
    window.show();
    for (const md::entry::FormEntry* function :
         module.functions())  // every function has its menu item
        ASSERT_NE(window.findChild<QAction*>(QString::fromUtf8(function->name)), nullptr)
            << function->name;

    QWidget* goods = window.openFunction("frm_goods");
    ASSERT_NE(goods, nullptr);
    EXPECT_EQ(md::Session().RightListName,
              "frm_goods");  // rights are kept under the function's name
    EXPECT_EQ(md::Session().HostMainForm, &window);
    EXPECT_EQ(window.openFunction("frm_goods"), goods);
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(window.mdiArea()->subWindowList().first()->widget(), goods);
    EXPECT_EQ(window.openWindowCaptions(), QStringList{"货品档案"});
    EXPECT_TRUE(menuTexts(window.windowMenu()).contains("货品档案"));

    goods->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // then its frame
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(window.openWindowCaptions().isEmpty());
    EXPECT_FALSE(menuTexts(window.windowMenu()).contains("货品档案"));

    EXPECT_EQ(window.openFunction("frm_GoodsReturnNote"), nullptr);  // not built yet: nothing opens
}

TEST_F(Host, OpenWindowListRemovesTheFirstMatchingCaption) {
    THostMainForm window(module, db.conn(), demo::kAdminUser, "系统管理员");
    window.AddCaption("A");
    window.AddCaption("B");
    window.AddCaption("A");
    EXPECT_EQ(window.FindCaption("A"), 0);
    EXPECT_EQ(window.FindCaption("C"), -1);
    window.DeleteCaption(window.FindCaption("A"));
    EXPECT_EQ(window.openWindowCaptions(), (QStringList{"B", "A"}));
}

TEST_F(Host, AModalFunctionIsPicturedOverTheMainWindow) {
    install("frm_dpt", &makeRedDialog);
    THostMainForm window(module, db.conn(), demo::kAdminUser, "系统管理员");
    window.resize(800, 600);
    window.show();
    md::host::HostOptions options;
    options.open = "frm_dpt";
    options.screenshot = home.filePath("modal.png");
    EXPECT_TRUE(md::host::runAutomation(
        window, options));  // returns: the dialog was closed after its picture
    const QImage picture(options.screenshot);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), window.grab().size());
    EXPECT_EQ(QColor(picture.pixel(picture.width() / 2, picture.height() / 2)), QColor(Qt::red));
    EXPECT_NE(QColor(picture.pixel(5, picture.height() / 2)), QColor(Qt::red));
}

// The built program, run as a user would from a script.
class HostProgram : public ::testing::Test {
  protected:
    int run(const QStringList& arguments, QString* errors = nullptr) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("MASTERDATA_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationDirPath() + "/masterdata", arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        if (errors) *errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QTemporaryDir home;
};

TEST_F(HostProgram, FirstStartCreatesTheDemoDatabaseAndTakesAPicture) {
    const QString db = home.filePath("demo.db");
    const QString png = home.filePath("main.png");
    QString errors;
    EXPECT_EQ(run({"--db", db, "--user", "admin", "--password", "wrong", "--quit"}, &errors), 2);
    EXPECT_TRUE(errors.contains("用户名或密码错误")) << errors.toStdString();
    EXPECT_EQ(run({"--db", db, "--user", "admin", "--password", "admin", "--open", "frm_color",
                   "--screenshot", png, "--quit"},
                  &errors),
              0)
        << errors.toStdString();
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 800);
}

}  // namespace
