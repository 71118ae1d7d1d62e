#pragma once
// The session context: who is working, under which right list, on which
// connection, inside which host window. Replaced on every call of the module's
// entry point and read by the forms at the moment they need a value, so a later
// call changes it for windows already open.
#include <QObject>
#include <QString>

class TRemoteUdpConnection;

// The host main window's list of open window captions. Record editors add their
// caption on creation and delete it on destruction.
class IOpenWindowList {
  public:
    virtual ~IOpenWindowList() = default;
    virtual void AddCaption(const QString& caption) = 0;
    virtual int FindCaption(const QString& caption) const = 0;  // first match; -1 when absent
    virtual void DeleteCaption(int index) = 0;
};

namespace md {

struct SessionContext {
    QObject* HostApplication = nullptr;  // owner of every form and of the data module
    QString UserNo;
    QString RightListName;
    TRemoteUdpConnection* Connection = nullptr;
    QObject* HostMainForm = nullptr;  // implements IOpenWindowList (see openWindowList())
    QObject* HostScreen = nullptr;    // not used here; passed on unchanged to the report plug-in
};

SessionContext& Session();

// The host main window's caption list; null when the host window does not keep one.
IOpenWindowList* openWindowList();

}  // namespace md
