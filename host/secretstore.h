#pragma once
// Database passwords live in the desktop's secret store (through qtkeychain),
// never in the settings file. Where no secret store is reachable (no desktop
// session, offscreen runs) nothing is kept and the login asks for the password.
#include <QString>
#include <optional>

namespace md::host {

// The key a connection's password is filed under: kind, server, database, user.
QString passwordKey(const QString& kind, const QString& server, const QString& database,
                    const QString& user);

bool storePassword(const QString& key, const QString& password);
std::optional<QString> loadPassword(const QString& key);

}  // namespace md::host
