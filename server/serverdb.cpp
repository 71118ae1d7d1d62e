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

void openDatabase(TRemoteUdpConnection& connection, const ConnectionSettings& settings,
                  bool create) {
    connection.Open(settings, objects());
    if (create && !hasSchema(connection)) createDatabase(connection);
}

}  // namespace md::server
