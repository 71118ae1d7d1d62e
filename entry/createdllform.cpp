#include "createdllform.h"

#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "dictdm.h"
#include "formregistry.h"
#include "messages.h"
#include "session.h"

namespace {

// One instance slot per registered form; QPointer empties itself when the
// form is freed on close.
QHash<const md::entry::FormEntry*, QPointer<QDialog>> g_instances;
QPointer<Tdict_dm> g_dataModule;

}  // namespace

namespace md::entry {

QWidget* createForm(QApplication* application, QObject* screen, const QString& formName,
                    const char* userNo, const char* rightListName, TRemoteUdpConnection* connection,
                    QMainWindow* hostMainForm) {
    const QString name = formName;  // our own reference for the whole call

    md::SessionContext& session = md::Session();
    session.HostApplication = application;
    session.UserNo = QString::fromUtf8(userNo ? userNo : "");
    session.RightListName = QString::fromUtf8(rightListName ? rightListName : "");
    session.HostMainForm = hostMainForm;
    session.Connection = connection;
    session.HostScreen = screen;

    // Loaded once: the shared values belong to the operator and database of the first call.
    if (!g_dataModule) g_dataModule = new Tdict_dm(application);

    const md::entry::FormEntry* entry = md::entry::findForm(name);
    if (!entry || !entry->factory) return nullptr;

    QPointer<QDialog>& slot = g_instances[entry];
    if (!slot) slot = entry->factory(hostMainForm);
    if (!entry->modal) return slot;  // an open window is returned as it is

    if (slot) md::ui::ExecModal(*slot);
    return nullptr;
}

QObject* sessionScreen() {
    return md::Session().HostScreen;
}

void resetModule() {
    for (QPointer<QDialog>& slot : g_instances) delete slot.data();
    g_instances.clear();
    delete g_dataModule.data();
}

}  // namespace md::entry
