#pragma once
// The database side as the module's connections see it: the schema (written in
// T-SQL), its catalog and the stored procedures.
#include <memory>

#include "remoteudpconnection.h"
#include "schemaupgrade.h"
#include "serverobjects.h"

namespace md::server {

// The schema script: every file of server/schema in name order.
QString schemaScript();

// Built once per process.
std::shared_ptr<const md::data::ServerObjects> objects();

// Runs the schema on an empty database and records its version.
void createDatabase(TRemoteUdpConnection& connection);

// True when the database already holds the schema.
bool hasSchema(TRemoteUdpConnection& connection);

// Opens the database and brings an older one to this build's schema
// (schemaupgrade.h); with create, a database without the schema gets it. When
// the upgrade is refused or fails, the connection is closed and EDatabaseError
// thrown.
UpgradeReport openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                           bool create);

}  // namespace md::server
