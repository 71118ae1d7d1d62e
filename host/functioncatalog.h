#pragma once
// The functions as the signed-in user meets them: the module's registry rows
// with what the user's rights allow. A function the user may not browse is not
// offered at all; one without a window yet is offered disabled. The company
// record (公司信息), whose national codes renumber every barcode, asks for the
// edit right instead of the browse right.
#include <QHash>
#include <QList>
#include <QString>

class TRemoteUdpConnection;

namespace md::host {

class ModuleLibrary;

struct HostFunction {
    QString name;  // registry key, also the right list
    QString caption;
    int menu = 0;  // md::entry::Menu
    bool modal = false;
    bool hasWindow = false;
    bool allowed = false;  // the user's rights let them use it: offered at all

    bool opens() const { return allowed && hasWindow; }
};

class FunctionCatalog {
  public:
    FunctionCatalog() = default;
    // Reads the user's rights in one query.
    FunctionCatalog(const ModuleLibrary& module, TRemoteUdpConnection& connection,
                    const QString& userNo);

    const QList<HostFunction>& functions() const { return m_functions; }
    // By name, in any case; null for a name the module does not know.
    const HostFunction* find(const QString& name) const;
    // Why the function cannot be opened, in the user's words; empty when it can.
    QString whyNot(const QString& name) const;

    // What a function without a window says about itself.
    static QString notBuiltText() { return QStringLiteral("此功能尚未提供窗口"); }

  private:
    QList<HostFunction> m_functions;
};

}  // namespace md::host
