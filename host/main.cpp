// The host program: loads the master-data module, opens the database (a new
// embedded one gets the demo data), logs the user in and shows the main window.
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "appidentity.h"
#include "automation.h"
#include "connectiondialog.h"
#include "hostdatabase.h"
#include "hostmainwindow.h"
#include "logindialog.h"
#include "logingate.h"
#include "messages.h"
#include "modulelibrary.h"

using namespace md::host;

namespace {

// Exit codes of unattended runs.
enum ExitCode { kWrongLogin = 2, kNoScreenshot = 3, kCannotOpen = 4 };

QList<md::server::DemoRightList> rightListsOf(const ModuleLibrary& module) {
    QList<md::server::DemoRightList> lists;
    for (const md::entry::FormEntry* function : module.functions())
        lists.append({QString::fromUtf8(function->name), QString::fromUtf8(function->caption)});
    return lists;
}

void complain(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void complain(const std::exception& error) {
    const md::ui::ErrorText described = md::ui::DescribeError(error);
    complain(described.details.isEmpty() ? described.text
                                         : described.text + QLatin1Char('\n') + described.details);
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window system is needed (packaging checks, support calls).
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "--version") {
            std::printf("masterdata %s\n", qPrintable(programVersion()));
            return 0;
        }
    QApplication app(argc, argv);
    setApplicationIdentity();
    HostOptions options = parseHostOptions(QApplication::arguments());
    QFile input;
    input.open(stdin, QIODevice::ReadOnly);
    takePassword(options, input);
    const bool unattended = options.quit;

    ModuleLibrary module;
    if (!module.load()) {
        complain(module.errorString());
        if (!unattended)
            md::ui::MessageBox(QStringLiteral("无法加载基础资料模块：\n") + module.errorString(),
                               md::ui::kSystemTitle, md::ui::Icon::Error);
        return 1;
    }

    TRemoteUdpConnection connection;
    ConnectionSettings settings = options.database.isEmpty()
                                      ? savedConnectionSettings()
                                      : ConnectionSettings::fromDatabaseText(options.database);
    const auto connectDatabase = [&] {
        // No password from the secret store: ask for it (it is kept for this run only).
        if (!settings.isFile() && settings.password.isEmpty() && !unattended) {
            bool ok = false;
            const QString password =
                QInputDialog::getText(nullptr, QStringLiteral("数据库密码"),
                                      QStringLiteral("数据库 %1 的密码：").arg(settings.database),
                                      QLineEdit::Password, QString(), &ok);
            if (ok) settings.password = password;
        }
        try {
            openDatabase(connection, settings, rightListsOf(module));
            return true;
        } catch (const EDatabaseError& e) {
            complain(e);
            if (!unattended) md::ui::ShowError(e);
            return false;
        }
    };
    if (!connectDatabase() && unattended) return 1;

    QString userNo = options.user;
    QString userName;
    if (!options.user.isEmpty() && options.hasPassword && connection.Connected()) {
        LoginResult login;
        try {
            login = LoginGate(connection).attempt(options.user, options.password);
        } catch (const EDatabaseError& e) {
            complain(e);
            return 1;
        }
        if (!login.accepted()) {
            complain(login.message());
            return kWrongLogin;
        }
        userName = login.userName;
    } else {
        TLoginDialog login(connection);
        login.setUserNo(options.user);
        login.offerConnectionSettings([&] {
            TConnectionDialog dialog(settings, &login);
            if (md::ui::ExecModal(dialog) != QDialog::Accepted) return;
            settings = dialog.settings();
            saveConnectionSettings(settings);
            connectDatabase();
        });
        if (md::ui::ExecModal(login) != QDialog::Accepted) return 0;
        userNo = login.userNo();
        userName = login.userName();
    }

    THostMainForm mainWindow(module, connection, userNo, userName);
    mainWindow.setRestart(options.database.isEmpty()
                              ? QStringList()
                              : QStringList{QStringLiteral("--db"), options.database});
    mainWindow.resize(1280, 800);
    // Scripted runs start from the same place every time and leave no trace.
    const bool scripted = isUnattended(options);
    mainWindow.setRemembersSession(!scripted);
    if (!options.open.isEmpty()) {
        const QString why = mainWindow.catalog().whyNot(options.open);
        if (!why.isEmpty()) {
            complain(why);
            return kCannotOpen;
        }
    }
    mainWindow.show();
    if (!scripted) mainWindow.restoreSession();
    // Quitting by other means than the main window (the desktop session
    // ending) still closes every window through its own close path.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainWindow,
                     [&mainWindow] { mainWindow.closeChildWindows(); });
    int status = 0;
    if (scripted) {
        QTimer::singleShot(0, &mainWindow, [&] {
            if (!runAutomation(mainWindow, options)) {
                complain(QStringLiteral("无法保存截图：") + options.screenshot);
                status = kNoScreenshot;
            }
            if (options.quit) {
                // Nobody is there to answer a window's closing question: it is
                // named on standard error and answered No, which leaves the data
                // as it is.
                md::ui::MessageScript closing;
                closing.answerQuestionsWith(md::ui::Answer::No);
                mainWindow.close();
                for (const md::ui::ShownMessage& asked : closing.shown())
                    complain(QStringLiteral("退出时的提问（答“否”）：") + asked.text);
                QApplication::exit(status);
            }
        });
    }
    const int result = QApplication::exec();
    return status ? status : result;
}
