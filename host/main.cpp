// The host program: loads the master-data module, opens the database (a new
// embedded one gets the demo data), logs the user in and shows the main window.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "automation.h"
#include "connectiondialog.h"
#include "hostdatabase.h"
#include "hostmainwindow.h"
#include "logindialog.h"
#include "messages.h"
#include "modulelibrary.h"

using namespace md::host;

namespace {

QList<md::server::DemoRightList> rightListsOf(const ModuleLibrary& module) {
    QList<md::server::DemoRightList> lists;
    for (const md::entry::FormEntry* function : module.functions())
        lists.append({QString::fromUtf8(function->name), QString::fromUtf8(function->caption)});
    return lists;
}

void complain(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("masterdata"));
    const HostOptions options = parseHostOptions(QApplication::arguments());
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
            complain(e.message());
            if (!unattended) md::ui::ShowError(e.message());
            return false;
        }
    };
    if (!connectDatabase() && unattended) return 1;

    QString userNo = options.user;
    QString userName;
    if (!options.user.isEmpty() && options.hasPassword && connection.Connected()) {
        std::optional<QString> name;
        try {
            name = checkLogin(connection, options.user, options.password);
        } catch (const EDatabaseError& e) {
            complain(e.message());
            return 1;
        }
        if (!name) {
            complain(QStringLiteral("用户名或密码错误"));
            return 2;
        }
        userName = *name;
    } else {
        TLoginDialog login(connection);
        login.setUserNo(options.user);
        login.onConnectionSettings = [&] {
            TConnectionDialog dialog(settings, &login);
            if (md::ui::ExecModal(dialog) != QDialog::Accepted) return;
            settings = dialog.settings();
            saveConnectionSettings(settings);
            connectDatabase();
        };
        if (md::ui::ExecModal(login) != QDialog::Accepted) return 0;
        userNo = login.userNo();
        userName = login.userName();
    }

    THostMainForm mainWindow(module, connection, userNo, userName);
    mainWindow.resize(1280, 800);
    mainWindow.show();
    int status = 0;
    if (!options.open.isEmpty() || !options.screenshot.isEmpty() || options.quit) {
        QTimer::singleShot(0, &mainWindow, [&] {
            if (!runAutomation(mainWindow, options)) {
                complain(QStringLiteral("无法保存截图：") + options.screenshot);
                status = 3;
            }
            if (options.quit) QApplication::exit(status);
        });
    }
    const int result = QApplication::exec();
    return status ? status : result;
}
