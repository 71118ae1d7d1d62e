#pragma once
// Brings a database made by an older build to this build's schema, in place,
// when it is opened (openDatabase in serverdb.h), so that users keep their data
// as every release adds tables, views and columns.
//
// What to do is found by comparing the schema script with what the database
// holds: missing tables are created, missing columns added with their
// defaults, every view of the schema dropped and created again (a changed body
// takes effect), missing indexes created; on SQL Server the functions are
// recreated too (elsewhere the translator inlines them), on SQLite the triggers
// that check each table's lengths and ranges. It all runs in one
// transaction; a SQLite file is first copied beside itself.
//
// The database records its version and the fingerprint of the schema script
// (md_schemaversion). The fingerprint starts the comparison on any change of
// the script, even one that forgot its version. A database without the table
// is the first build's, version 1.
//
// Every issue that changes the schema adds one line to kUpgradeSteps in
// schemaupgrade.cpp with the next version number. The line carries the work the
// comparison cannot express (a rename before it, a backfill after it), or none.
#include <QString>
#include <QVector>

#include "remoteudpconnection.h"

namespace md::server {

struct UpgradeStep {
    enum class When { BeforeStructure, AfterStructure };
    int version = 0;  // runs on databases older than this
    When when = When::AfterStructure;
    const char* tsql = nullptr;                    // a T-SQL batch, or
    void (*run)(TRemoteUdpConnection&) = nullptr;  // work in C++ (dialect text)
};

// The schema a database is brought to.
struct SchemaTarget {
    QString script;
    int version = 0;
    QString fingerprint;
    QVector<UpgradeStep> steps;  // in version order
};

// This build's: the schema script, the last step's version and its fingerprint.
const SchemaTarget& currentSchema();
// SHA-256 of the script, line ends aside.
QString schemaFingerprint(const QString& script);

struct UpgradeReport {
    enum class Outcome {
        NoSchema,  // a new, empty database: nothing to upgrade
        Current,   // version and fingerprint matched
        Upgraded,
        Skipped,  // the database's structure could not be read (see note)
    };
    Outcome outcome = Outcome::NoSchema;
    int fromVersion = 0;
    int toVersion = 0;
    QString backupFile;  // SQLite: the copy kept before the upgrade
    QString note;        // why an upgrade was skipped
};

// Compares and upgrades. Throws EDatabaseError when the database is newer than
// the target (nothing is touched) or when the upgrade fails (all of it is
// rolled back and the copy removed).
UpgradeReport upgradeSchema(TRemoteUdpConnection& connection,
                            const SchemaTarget& target = currentSchema());

// Writes the target's version into a database that has just got its schema.
void recordSchemaVersion(TRemoteUdpConnection& connection,
                         const SchemaTarget& target = currentSchema());

}  // namespace md::server
