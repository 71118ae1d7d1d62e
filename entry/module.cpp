// The exports of libmasterdata.so. The library is built with hidden
// visibility: the host sees these two names and nothing of the module's
// classes, which live in its internal libraries.
#include "createdllform.h"
#include "formregistry.h"

QWidget* CreateDLLForm(QApplication* application, QObject* screen, const QString& formName,
                       const char* userNo, const char* rightListName,
                       TRemoteUdpConnection* connection, QMainWindow* hostMainForm) {
    return md::entry::createForm(application, screen, formName, userNo, rightListName, connection,
                                 hostMainForm);
}

int CreateDLLFormList(const md::entry::FormEntry** entries) {
    if (entries) *entries = &md::entry::formAt(0);
    return md::entry::formCount();
}
