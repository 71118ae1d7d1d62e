#include "serverdb.h"

#include <QDir>
#include <QFile>
#include <mutex>

#include "procedures.h"

namespace md::server {

QString schemaScript() {
    QDir dir(QStringLiteral(":/schema"));
    QString script;
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        script += QString::fromUtf8(file.readAll());
        script += QLatin1Char('\n');
    }
    return script;
}

std::shared_ptr<const md::data::ServerObjects> objects() {
    static std::shared_ptr<const md::data::ServerObjects> built;
    static std::once_flag once;
    std::call_once(once, [] {
        auto server = std::make_shared<md::data::ServerObjects>();
        server->schemaScript = schemaScript();
        auto catalog = std::make_shared<md::sql::Catalog>();
        catalog->load(server->schemaScript);
        server->catalog = std::move(catalog);
        server->procedures = registeredProcedures();
        built = std::move(server);
    });
    return built;
}

void createDatabase(TRemoteUdpConnection& connection) {
    TRemoteUdpConnection::Unit unit(connection);
    connection.ExecSQL(objects()->schemaScript);
    recordSchemaVersion(connection);
    unit.commit();
}

bool hasSchema(TRemoteUdpConnection& connection) {
    try {
        ResultTable rows;
        connection.OpenSQL(QStringLiteral("select top 1 [id] from config"), rows);
        return true;
    } catch (const EDatabaseError&) {
        return false;
    }
}

UpgradeReport openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                           bool create) {
    connection.Open(settings, objects());
    try {
        const UpgradeReport report = upgradeSchema(connection);
        const bool empty =
            report.outcome == UpgradeReport::Outcome::NoSchema ||
            (report.outcome == UpgradeReport::Outcome::Skipped && !hasSchema(connection));
        if (create && empty) createDatabase(connection);
        return report;
    } catch (...) {
        // An old database must not be worked on by this build.
        connection.Close();
        throw;
    }
}

}  // namespace md::server
