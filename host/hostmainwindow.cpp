#include "hostmainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "appidentity.h"
#include "connectiondialog.h"
#include "functionnavigator.h"
#include "hostdatabase.h"
#include "hostsettings.h"
#include "logindialog.h"
#include "mdichild.h"
#include "messages.h"
#include "passworddialog.h"
#include "remoteudpconnection.h"

namespace md::host {

namespace {

// The window's function, kept on the window itself: the module may free it.
const char* const kFunctionProperty = "md_function";

// The functions most people open every day, in toolbar order.
const QStringList kCommonFunctions = {
    QStringLiteral("frm_goods"),   QStringLiteral("frm_barcode"),    QStringLiteral("frm_size"),
    QStringLiteral("frm_color"),   QStringLiteral("frm_goodscolor"), QStringLiteral("frm_client"),
    QStringLiteral("frm_vipcard"), QStringLiteral("frm_goodsprice"), QStringLiteral("frm_employee"),
    QStringLiteral("frm_squad"),
};

bool startDetached(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    return process.startDetached();
}

}  // namespace

THostMainForm::THostMainForm(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                             const QString& userNo, const QString& userName, QWidget* parent)
    : QMainWindow(parent),
      m_module(module),
      m_connection(connection),
      m_userNo(userNo),
      m_start(&startDetached) {
    setObjectName(QStringLiteral("HostMainForm"));
    setWindowTitle(QStringLiteral("服装分销管理系统 · 基础资料"));
    md::ui::Guard([&] { m_catalog = FunctionCatalog(module, connection, userNo); });
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(0xD5, 0xDE, 0xF2));  // the system's default background colour
    setCentralWidget(m_mdi);

    m_navigator = new TFunctionNavigator(m_catalog, this);
    addDockWidget(Qt::LeftDockWidgetArea, m_navigator);
    connect(m_navigator, &TFunctionNavigator::openRequested, this,
            [this](const QString& name) { openFunction(name); });
    buildMenus();
    buildToolBar();
    m_navigator->setRecent(HostSettings(m_userNo).recent());
    resizeDocks({m_navigator}, {220}, Qt::Horizontal);

    auto* user = new QLabel(QStringLiteral("操作员：%1 %2").arg(userNo, userName), this);
    user->setObjectName(QStringLiteral("lbl_user"));
    auto* database = new QLabel(QStringLiteral("数据库：%1").arg(connection.databaseName()), this);
    database->setObjectName(QStringLiteral("lbl_database"));
    statusBar()->addPermanentWidget(user);
    statusBar()->addPermanentWidget(database);
}

THostMainForm::~THostMainForm() = default;

void THostMainForm::buildMenus() {
    QMenu* system = menuBar()->addMenu(QStringLiteral("系统(&S)"));
    system->setObjectName(QStringLiteral("menu_system"));
    const auto add = [this, system](const char* name, const QString& caption, auto slot) {
        QAction* action = system->addAction(caption, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    add("act_password", QStringLiteral("修改密码(&P)…"), &THostMainForm::changePassword);
    add("act_switchuser", QStringLiteral("切换用户(&U)…"), &THostMainForm::switchUser);
    add("act_connection", QStringLiteral("连接设置(&C)…"), &THostMainForm::editConnection);
    system->addSeparator();
    add("act_about", QStringLiteral("关于(&A)…"), &THostMainForm::about);
    system->addSeparator();
    add("act_exit", QStringLiteral("退出(&X)"), &QWidget::close);

    QList<QMenu*> menus;
    for (const char* name : md::entry::kMenuNames) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(name));
        menu->setToolTipsVisible(true);
        menu->menuAction()->setVisible(false);  // until it offers a function
        menus << menu;
    }
    for (const HostFunction& function : m_catalog.functions()) {
        if (function.menu < 0 || function.menu >= menus.size()) continue;
        QMenu* menu = menus[function.menu];
        QAction* action =
            menu->addAction(functionIcon(function.caption, function.menu), function.caption);
        action->setObjectName(function.name);
        action->setVisible(function.allowed);
        action->setEnabled(function.hasWindow);
        if (!function.hasWindow) {
            action->setToolTip(FunctionCatalog::notBuiltText());
            action->setStatusTip(FunctionCatalog::notBuiltText());
        }
        if (function.allowed) menu->menuAction()->setVisible(true);
        const QString name = function.name;
        connect(action, &QAction::triggered, this, [this, name] { openFunction(name); });
    }

    m_windowMenu = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
    m_windowMenu->setObjectName(QStringLiteral("menu_window"));
}

void THostMainForm::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("常用功能"));
    m_toolBar->setObjectName(QStringLiteral("tb_common"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setMovable(false);
    for (const QString& name : kCommonFunctions) {
        const HostFunction* function = m_catalog.find(name);
        // A shortcut, not a catalogue: only what opens (the menus list the rest).
        if (function && function->opens()) m_toolBar->addAction(functionAction(name));
    }
    m_toolBar->setVisible(!m_toolBar->actions().isEmpty());
    rebuildWindowMenu();
}

QAction* THostMainForm::functionAction(const QString& name) const {
    const HostFunction* function = m_catalog.find(name);
    return function ? menuBar()->findChild<QAction*>(function->name) : nullptr;
}

void THostMainForm::rebuildWindowMenu() {
    m_windowMenu->clear();
    m_windowMenu->addAction(m_navigator->toggleViewAction());
    if (m_toolBar) m_windowMenu->addAction(m_toolBar->toggleViewAction());
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(QStringLiteral("层叠"), m_mdi, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addAction(QStringLiteral("平铺"), m_mdi, &QMdiArea::tileSubWindows);
    m_windowMenu->addAction(QStringLiteral("关闭全部窗口"), this, [this] { closeChildWindows(); });
    if (m_captions.isEmpty()) return;
    m_windowMenu->addSeparator();
    for (const QString& caption : m_captions)
        m_windowMenu->addAction(caption, this, [this, caption] { activateCaption(caption); });
}

QWidget* THostMainForm::openFunction(const QString& name) {
    const QString why = m_catalog.whyNot(name);
    if (!why.isEmpty()) {
        statusBar()->showMessage(why, 5000);
        return nullptr;
    }
    const HostFunction& function = *m_catalog.find(name);
    QWidget* window = nullptr;
    const bool ran = md::ui::Guard([&] {
        // Each function's rights are kept under its own name.
        const QByteArray user = m_userNo.toUtf8();
        const QByteArray list = function.name.toUtf8();
        window = m_module.createForm()(qApp, QGuiApplication::primaryScreen(), function.name,
                                       user.constData(), list.constData(), &m_connection, this);
    });
    if (window) {
        window->setProperty(kFunctionProperty, function.name);
        md::ShowAsMdiChild(*m_mdi, *window);
    }
    if (ran && (window || function.modal)) noteOpened(function.name);
    return window;
}

void THostMainForm::noteOpened(const QString& name) {
    if (!m_remember) return;
    HostSettings settings(m_userNo);
    settings.addRecent(name);
    m_navigator->setRecent(settings.recent());
}

QStringList THostMainForm::openFunctionNames() const {
    QStringList names;
    for (QMdiSubWindow* frame : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (frame->isVisible() && frame->widget()) {
            const QString name = frame->widget()->property(kFunctionProperty).toString();
            if (!name.isEmpty() && !names.contains(name)) names << name;
        }
    return names;
}

bool THostMainForm::closeChildWindows() {
    for (QMdiSubWindow* frame : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (frame->isVisible() && !frame->close()) return false;
    return true;
}

void THostMainForm::closeEvent(QCloseEvent* event) {
    const QStringList open = openFunctionNames();
    if (!closeChildWindows()) {
        event->ignore();
        return;
    }
    if (m_remember) {
        HostSettings settings(m_userNo);
        settings.setGeometry(saveGeometry());
        settings.setDockState(saveState());
        settings.setOpenWindows(open);
    }
    QMainWindow::closeEvent(event);
}

void THostMainForm::restoreSession() {
    HostSettings settings(m_userNo);
    const QByteArray geometry = settings.geometry();
    if (!geometry.isEmpty()) restoreGeometry(geometry);
    const QByteArray docks = settings.dockState();
    if (!docks.isEmpty()) restoreState(docks);
    for (const QString& name : settings.openWindows()) {
        const HostFunction* function = m_catalog.find(name);
        if (function && function->opens() && !function->modal) openFunction(name);
    }
}

void THostMainForm::activateCaption(const QString& caption) {
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        if (sub->windowTitle() == caption ||
            (sub->widget() && sub->widget()->windowTitle() == caption)) {
            m_mdi->setActiveSubWindow(sub);
            return;
        }
}

void THostMainForm::AddCaption(const QString& caption) {
    m_captions << caption;
    rebuildWindowMenu();
}

int THostMainForm::FindCaption(const QString& caption) const {
    return int(m_captions.indexOf(caption));
}

void THostMainForm::DeleteCaption(int index) {
    if (index < 0 || index >= m_captions.size()) return;
    m_captions.removeAt(index);
    rebuildWindowMenu();
}

// ---------------------------------------------------------------- system menu

void THostMainForm::setRestart(const QStringList& databaseArguments, ProgramStarter start) {
    m_databaseArguments = databaseArguments;
    m_start = start ? std::move(start) : ProgramStarter(&startDetached);
}

bool THostMainForm::restart(const QStringList& arguments, const QProcessEnvironment& environment) {
    if (!close()) return false;
    if (!m_start(arguments, environment)) {
        md::ui::MessageBox(QStringLiteral("无法重新启动程序，请手动启动。"), md::ui::kSystemTitle,
                           md::ui::Icon::Warning);
        return false;
    }
    QCoreApplication::quit();
    return true;
}

void THostMainForm::changePassword() {
    TPasswordDialog dialog(m_connection, m_userNo, this);
    md::ui::ExecModal(dialog);
}

void THostMainForm::switchUser() {
    TLoginDialog login(m_connection, this);
    login.setWindowTitle(QStringLiteral("切换用户"));
    if (md::ui::ExecModal(login) != QDialog::Accepted) return;
    // The new process reads the password from its environment and forgets it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MASTERDATA_PASSWORD"), login.password());
    restart(m_databaseArguments + QStringList{QStringLiteral("--user"), login.userNo()},
            environment);
}

void THostMainForm::editConnection() {
    ConnectionSettings current = savedConnectionSettings();
    TConnectionDialog dialog(current, this);
    if (md::ui::ExecModal(dialog) != QDialog::Accepted) return;
    md::ui::Guard([&] { saveConnectionSettings(dialog.settings()); });
    // Started without --db: the saved connection is the one to use.
    restart({}, QProcessEnvironment::systemEnvironment());
}

QString THostMainForm::aboutText() const {
    QString backend;
    switch (m_connection.settings().kind) {
        case ConnectionSettings::Kind::SQLite:
            backend = QStringLiteral("SQLite（内嵌数据库）");
            break;
        case ConnectionSettings::Kind::PostgreSQL:
            backend = QStringLiteral("PostgreSQL");
            break;
        case ConnectionSettings::Kind::Odbc:
            backend = QStringLiteral("SQL Server（ODBC）");
            break;
    }
    const QString version = serverVersion(m_connection);
    if (!version.isEmpty()) backend += QLatin1Char(' ') + version;
    return QStringLiteral("%1\n版本：%2\n数据库：%3\n后端：%4\nQt：%5")
        .arg(md::ui::kApplicationName, programVersion(), m_connection.databaseName(), backend,
             QString::fromLatin1(qVersion()));
}

void THostMainForm::about() {
    md::ui::MessageBox(aboutText(), QStringLiteral("关于"));
}

}  // namespace md::host
