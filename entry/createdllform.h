#pragma once
// The module's one entry point. The host loads libmasterdata.so and resolves
// "CreateDLLForm" by name; the report plug-in exports the same signature.
//
// userNo and rightListName are zero-terminated UTF-8 strings. The result is the
// created or already open window for a non-modal function, null for a modal
// one (run to its end here) and for an unknown name. The host shows a returned
// window as a child of its multi-document main window and does not free it.
#include <QString>

class QApplication;
class QMainWindow;
class QObject;
class QWidget;
class TRemoteUdpConnection;

extern "C" {
typedef QWidget* (*CreateDLLFormFunction)(QApplication* application, QObject* screen,
                                          const QString& formName, const char* userNo,
                                          const char* rightListName,
                                          TRemoteUdpConnection* connection,
                                          QMainWindow* hostMainForm);

__attribute__((visibility("default"))) QWidget* CreateDLLForm(
    QApplication* application, QObject* screen, const QString& formName, const char* userNo,
    const char* rightListName, TRemoteUdpConnection* connection, QMainWindow* hostMainForm);
}

namespace md::entry {

// What CreateDLLForm does; the module's export only passes its call on.
QWidget* createForm(QApplication* application, QObject* screen, const QString& formName,
                    const char* userNo, const char* rightListName, TRemoteUdpConnection* connection,
                    QMainWindow* hostMainForm);

// The screen object of the latest call, passed on by the report plug-in bridge.
QObject* sessionScreen();

// For tests: frees every open form and the data module, as if the module had
// just been loaded.
void resetModule();

}  // namespace md::entry
