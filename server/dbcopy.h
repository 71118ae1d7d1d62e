#pragma once
// Copies a whole database from one backend to another (a SQLite file to
// PostgreSQL, as a company outgrows one machine): the schema is created on the
// empty target, every table copied with its identity values, the sequences and
// the key source moved on, and the row counts compared table by table.
#include <QStringList>
#include <functional>

#include "remoteudpconnection.h"

namespace md::server {

struct CopyReport {
    struct Table {
        QString name;
        qint64 sourceRows = 0;
        qint64 targetRows = 0;
    };
    QVector<Table> tables;
};

// Throws EDatabaseError with a message for the user when the target already
// holds tables (nothing is written then), when rows do not go in (every such
// row is listed, by table and key, with the target's reason; the copy is
// rolled back), or when the counts differ afterwards (rolled back too).
CopyReport copyDatabase(const ConnectionSettings& from, const ConnectionSettings& to,
                        const std::function<void(const QString&)>& progress = {});

// The names of the tables a database holds already; empty for a new database.
QStringList existingTables(TRemoteUdpConnection& connection);

}  // namespace md::server
