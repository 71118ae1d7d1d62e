#include "automation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QEventLoop>
#include <QIODevice>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include "hostmainwindow.h"

namespace md::host {

namespace {

// Lets layouts and the first paint happen before a picture is taken.
void settle(int milliseconds = 300) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

HostOptions parseHostOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("服装分销管理系统 · 基础资料"));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("SQLite 数据库文件"),
                                QStringLiteral("file"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("用户编号"),
                                  QStringLiteral("userno"));
    const QCommandLineOption password(QStringLiteral("password"),
                                      QStringLiteral("密码（会出现在进程列表中）"),
                                      QStringLiteral("password"));
    const QCommandLineOption passwordStdin(
        QStringLiteral("password-stdin"),
        QStringLiteral("从标准输入读取密码（一行）；也可用环境变量 MASTERDATA_PASSWORD"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("登录后打开的功能，如 frm_color"),
                                  QStringLiteral("name"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("保存主窗口截图（PNG）"),
                                        QStringLiteral("file"));
    const QCommandLineOption quit(QStringLiteral("quit"), QStringLiteral("完成后退出"));
    parser.addOptions({db, user, password, passwordStdin, open, screenshot, quit});
    parser.process(arguments);

    HostOptions options;
    options.database = parser.value(db);
    options.user = parser.value(user);
    options.password = parser.value(password);
    options.hasPassword = parser.isSet(password);
    options.passwordFromInput = parser.isSet(passwordStdin);
    options.open = parser.value(open);
    options.screenshot = parser.value(screenshot);
    options.quit = parser.isSet(quit);
    return options;
}

void takePassword(HostOptions& options, QIODevice& input) {
    const QByteArray variable = qgetenv("MASTERDATA_PASSWORD");
    const bool inEnvironment = qEnvironmentVariableIsSet("MASTERDATA_PASSWORD");
    qunsetenv("MASTERDATA_PASSWORD");
    if (options.hasPassword) return;
    if (options.passwordFromInput) {
        QByteArray line = input.readLine();
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        options.password = QString::fromUtf8(line);
        options.hasPassword = true;
    } else if (inEnvironment) {
        options.password = QString::fromUtf8(variable);
        options.hasPassword = true;
    }
}

bool isUnattended(const HostOptions& options) {
    return options.quit || !options.open.isEmpty() || !options.screenshot.isEmpty();
}

bool saveScreenshot(QWidget& mainWindow, QWidget* modal, const QString& file) {
    QPixmap picture = mainWindow.grab();
    if (modal) {
        // A grab has no window frame: draw a title bar so the dialog reads as one.
        const QPixmap dialog = modal->grab();
        const int titleHeight = 26;
        const QSize whole(dialog.width(), dialog.height() + titleHeight);
        const QPoint at((picture.width() - whole.width()) / 2,
                        (picture.height() - whole.height()) / 2);
        QPainter painter(&picture);
        painter.fillRect(QRect(at + QPoint(5, 5), whole), QColor(0, 0, 0, 70));
        const QRect title(at, QSize(whole.width(), titleHeight));
        painter.fillRect(title, QColor(0x2B, 0x6C, 0xB0));
        QFont font = modal->font();
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(title, Qt::AlignCenter, modal->windowTitle());
        painter.drawPixmap(at + QPoint(0, titleHeight), dialog);
        painter.setPen(QColor(0x2B, 0x6C, 0xB0));
        painter.drawRect(QRect(at, whole).adjusted(0, 0, -1, -1));
    }
    return picture.save(file, "PNG");
}

bool runAutomation(THostMainForm& mainWindow, const HostOptions& options) {
    bool pictured = false;
    bool saved = true;
    QTimer watch;
    if (!options.screenshot.isEmpty() || options.quit) {
        // A modal function does not return until its dialog ends: picture it
        // from inside its run (when asked), then close it.
        watch.setInterval(100);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            watch.stop();
            settle();
            if (!modal) return;
            if (!options.screenshot.isEmpty()) {
                saved = saveScreenshot(mainWindow, modal, options.screenshot);
                pictured = true;
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
                dialog->reject();
            else
                modal->close();
        });
        watch.start();
    }
    if (!options.open.isEmpty()) mainWindow.openFunction(options.open);
    watch.stop();
    if (!options.screenshot.isEmpty() && !pictured) {
        settle();
        saved = saveScreenshot(mainWindow, nullptr, options.screenshot);
    }
    return saved;
}

}  // namespace md::host
