#pragma once
// The host's side of the database: where the embedded database lives, the saved
// connection settings, first-start creation with demo data.
#include <QString>

#include "demo/demodata.h"
#include "remoteudpconnection.h"

namespace md::host {

// MASTERDATA_HOME when set, else the user's data folder; created when missing.
QString dataFolder();
// The embedded database of the data folder.
QString defaultDatabaseFile();

// The connection the user chose in the settings dialog; the embedded database by default.
ConnectionSettings savedConnectionSettings();
void saveConnectionSettings(const ConnectionSettings& settings);

// Opens the database. An SQLite file that does not exist yet is created with
// the schema and the demo data; functions are the host's functions, on which
// the demo administrator gets every right. True when the database was created.
bool openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                  const QList<md::server::DemoRightList>& functions);

// The database server's own version ("3.40.1", "15.5"); empty when it cannot tell.
QString serverVersion(TRemoteUdpConnection& connection);

}  // namespace md::host
