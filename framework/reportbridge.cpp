#include "reportbridge.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibrary>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>

#include "routines.h"
#include "session.h"
#include "waitcursor.h"

class TRemoteUdpConnection;

namespace md {

namespace {

// The entry contract the plug-in exports, the same as this module's.
using CreateDLLFormFunction = QWidget* (*)(QApplication* application, QObject* screen,
                                           const QString& formName, const char* userNo,
                                           const char* rightListName,
                                           TRemoteUdpConnection* connection,
                                           QMainWindow* hostMainForm);

QPointer<QObject> g_reportWindow;

// The plug-in lies beside the host program, or in the module's folder of an
// installed program; MASTERDATA_HOME (used by tests and portable installs) may
// name another folder, looked at first. A plug-in that is missing is looked for
// again on the next call; one that loaded stays loaded.
QLibrary* reportPlugin() {
    static QLibrary* loaded = nullptr;
    if (loaded) return loaded;
    for (const QString& folder : CurrentProgramPaths().pluginFolders) {
        auto* library = new QLibrary(folder + QStringLiteral("vosklin"));
        if (library->load()) return loaded = library;
        delete library;
    }
    return nullptr;
}

}  // namespace

void OpenReportForm(const QString& reportName) {
    QLibrary* library = reportPlugin();
    if (!library) return;
    const auto create = reinterpret_cast<CreateDLLFormFunction>(library->resolve("CreateDLLForm"));
    ui::TWaitCursor wait;
    QCoreApplication::processEvents();
    if (!create) return;
    const SessionContext& session = Session();
    QObject* screen = session.HostScreen;
    if (!screen && qApp) screen = QGuiApplication::primaryScreen();
    g_reportWindow =
        create(qobject_cast<QApplication*>(session.HostApplication), screen, reportName,
               session.UserNo.toUtf8().constData(), session.RightListName.toUtf8().constData(),
               session.Connection, qobject_cast<QMainWindow*>(session.HostMainForm));
}

QObject* lastReportWindow() {
    return g_reportWindow;
}

}  // namespace md
