#pragma once
// The host's main window: a multi-document area for the module's windows, the
// function navigator docked at the left, a toolbar of the most used functions,
// menus of the functions by area, the system menu (password, switching user,
// connection, about), the open-window list (the "窗口" menu) and a status bar
// with the user and the database.
//
// Functions the user may not use are not offered; those without a window yet
// are offered disabled. Closing the main window closes every child window
// through its own close path first. The window's place, its docks, the windows
// open at closing and the functions opened last are remembered per user.
#include <QMainWindow>
#include <QPointer>
#include <QProcessEnvironment>
#include <QStringList>
#include <functional>

#include "functioncatalog.h"
#include "modulelibrary.h"
#include "session.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TRemoteUdpConnection;

namespace md::host {

class TFunctionNavigator;

class THostMainForm : public QMainWindow, public IOpenWindowList {
    Q_OBJECT
  public:
    THostMainForm(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                  const QString& userNo, const QString& userName, QWidget* parent = nullptr);
    ~THostMainForm() override;

    // Opens a function: CreateDLLForm with the function's name as form and
    // right-list name. A returned window becomes (or, when open, is brought
    // forward as) an MDI child. Returns that window, null for modal functions
    // and for functions that cannot be opened (the status bar says why).
    QWidget* openFunction(const QString& name);

    const FunctionCatalog& catalog() const { return m_catalog; }
    QAction* functionAction(const QString& name) const;
    TFunctionNavigator* navigator() const { return m_navigator; }
    QToolBar* commonToolBar() const { return m_toolBar; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QStringList openWindowCaptions() const { return m_captions; }
    QMenu* windowMenu() const { return m_windowMenu; }
    // The functions whose windows are open, in the order they were opened.
    QStringList openFunctionNames() const;

    // Closes every child window through its own close path; false when one
    // refused and stays open.
    bool closeChildWindows();

    // Unattended runs neither restore nor remember anything.
    void setRemembersSession(bool remember) { m_remember = remember; }
    // The place of the last run and the windows that were open then.
    void restoreSession();

    // The system menu. The data module keeps the values it loaded for the
    // whole process, so another user or connection means starting the program
    // again: `start` runs it (QProcess::startDetached by default), with
    // `databaseArguments` (e.g. --db FILE) kept for a new user.
    using ProgramStarter =
        std::function<bool(const QStringList& arguments, const QProcessEnvironment& environment)>;
    void setRestart(const QStringList& databaseArguments, ProgramStarter start = {});
    void changePassword();
    void switchUser();
    void editConnection();
    void about();
    QString aboutText() const;

    // IOpenWindowList
    void AddCaption(const QString& caption) override;
    int FindCaption(const QString& caption) const override;
    void DeleteCaption(int index) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    void rebuildWindowMenu();
    void activateCaption(const QString& caption);
    void noteOpened(const QString& name);
    bool restart(const QStringList& arguments, const QProcessEnvironment& environment);

    const ModuleLibrary& m_module;
    TRemoteUdpConnection& m_connection;
    QString m_userNo;
    FunctionCatalog m_catalog;
    QMdiArea* m_mdi;
    TFunctionNavigator* m_navigator = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QStringList m_captions;
    bool m_remember = true;
    QStringList m_databaseArguments;
    ProgramStarter m_start;
};

}  // namespace md::host
