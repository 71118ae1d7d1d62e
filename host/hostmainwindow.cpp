#include "hostmainwindow.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "mdichild.h"
#include "messages.h"
#include "remoteudpconnection.h"

namespace md::host {

THostMainForm::THostMainForm(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                             const QString& userNo, const QString& userName, QWidget* parent)
    : QMainWindow(parent), m_module(module), m_connection(connection), m_userNo(userNo) {
    setObjectName(QStringLiteral("HostMainForm"));
    setWindowTitle(QStringLiteral("服装分销管理系统 · 基础资料"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setBackground(QColor(0xD5, 0xDE, 0xF2));  // the system's default background colour
    setCentralWidget(m_mdi);
    buildMenus();

    auto* user = new QLabel(QStringLiteral("操作员：%1 %2").arg(userNo, userName), this);
    user->setObjectName(QStringLiteral("lbl_user"));
    auto* database = new QLabel(QStringLiteral("数据库：%1").arg(connection.databaseName()), this);
    database->setObjectName(QStringLiteral("lbl_database"));
    statusBar()->addPermanentWidget(user);
    statusBar()->addPermanentWidget(database);
}

void THostMainForm::buildMenus() {
    QMenu* system = menuBar()->addMenu(QStringLiteral("系统(&S)"));
    system->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);

    QList<QMenu*> menus;
    for (const char* name : md::entry::kMenuNames)
        menus << menuBar()->addMenu(QString::fromUtf8(name));
    for (const md::entry::FormEntry* function : m_module.functions()) {
        const QString name = QString::fromUtf8(function->name);
        QAction* action = menus[function->menu]->addAction(QString::fromUtf8(function->caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, name] { openFunction(name); });
    }

    m_windowMenu = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
    m_windowMenu->setObjectName(QStringLiteral("menu_window"));
    rebuildWindowMenu();
}

void THostMainForm::rebuildWindowMenu() {
    m_windowMenu->clear();
    m_windowMenu->addAction(QStringLiteral("层叠"), m_mdi, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addAction(QStringLiteral("平铺"), m_mdi, &QMdiArea::tileSubWindows);
    m_windowMenu->addAction(QStringLiteral("关闭全部窗口"), m_mdi, &QMdiArea::closeAllSubWindows);
    if (m_captions.isEmpty()) return;
    m_windowMenu->addSeparator();
    for (const QString& caption : m_captions)
        m_windowMenu->addAction(caption, this, [this, caption] { activateCaption(caption); });
}

QWidget* THostMainForm::openFunction(const QString& name) {
    const md::entry::FormEntry* function = m_module.function(name);
    QWidget* window = nullptr;
    md::ui::Guard([&] {
        const QByteArray user = m_userNo.toUtf8();
        const QByteArray list =
            name.toUtf8();  // each function's rights are kept under its own name
        window = m_module.createForm()(qApp, QGuiApplication::primaryScreen(), name,
                                       user.constData(), list.constData(), &m_connection, this);
    });
    if (window) {
        md::ShowAsMdiChild(*m_mdi, *window);
    } else if (function && !function->factory) {
        statusBar()->showMessage(
            QStringLiteral("“%1”尚未提供").arg(QString::fromUtf8(function->caption)), 5000);
    }
    return window;
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

}  // namespace md::host
