#pragma once
// The host's main window: a multi-document area for the module's windows,
// menus of every function by subsystem, the open-window list (shown as the
// "窗口" menu) and a status bar with the user and the database.
#include <QMainWindow>
#include <QStringList>

#include "modulelibrary.h"
#include "session.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TRemoteUdpConnection;

namespace md::host {

class THostMainForm : public QMainWindow, public IOpenWindowList {
    Q_OBJECT
  public:
    THostMainForm(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                  const QString& userNo, const QString& userName, QWidget* parent = nullptr);

    // Opens a function: CreateDLLForm with the function's name as form and
    // right-list name. A returned window becomes (or, when open, is brought
    // forward as) an MDI child. Returns that window, null for modal functions
    // and for functions not built yet.
    QWidget* openFunction(const QString& name);

    QMdiArea* mdiArea() const { return m_mdi; }
    QStringList openWindowCaptions() const { return m_captions; }
    QMenu* windowMenu() const { return m_windowMenu; }

    // IOpenWindowList
    void AddCaption(const QString& caption) override;
    int FindCaption(const QString& caption) const override;
    void DeleteCaption(int index) override;

  private:
    void buildMenus();
    void rebuildWindowMenu();
    void activateCaption(const QString& caption);

    const ModuleLibrary& m_module;
    TRemoteUdpConnection& m_connection;
    QString m_userNo;
    QMdiArea* m_mdi;
    QMenu* m_windowMenu = nullptr;
    QStringList m_captions;
};

}  // namespace md::host
