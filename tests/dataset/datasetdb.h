#pragma once
// A temporary SQLite database for dataset tests: the server's objects plus
// tables of the test's own, which the catalog knows, so that generated
// statements can address them.
#include <QTemporaryDir>
#include <memory>

#include "remoteudpconnection.h"
#include "serverdb.h"
#include "testdb.h"

namespace md::test {

class DataSetDb : public DbShorthands {
  public:
    explicit DataSetDb(const QString& ddl) {
        auto base = md::server::objects();
        auto objects = std::make_shared<md::data::ServerObjects>(*base);
        auto catalog = std::make_shared<md::sql::Catalog>(*base->catalog);
        catalog->load(ddl);
        objects->catalog = std::move(catalog);
        m_objects = std::move(objects);
        m_path = m_dir.filePath(QStringLiteral("dataset.db"));
        m_settings = ConnectionSettings::sqlite(m_path);
        if (testOnPostgres()) {
            m_scratch = std::make_unique<ScratchPgDatabase>();
            m_settings = m_scratch->settings();
        }
        m_connection = connect();
        m_connection->ExecSQL(ddl);
    }

    TRemoteUdpConnection& conn() override { return *m_connection; }

    // Another connection on the same file, as a second user would have.
    std::unique_ptr<TRemoteUdpConnection> connect() const {
        auto connection = std::make_unique<TRemoteUdpConnection>();
        connection->Open(m_settings, m_objects);
        return connection;
    }

  private:
    QTemporaryDir m_dir;
    QString m_path;
    ConnectionSettings m_settings;
    std::unique_ptr<ScratchPgDatabase> m_scratch;  // PostgreSQL runs: outlives the connection
    std::shared_ptr<const md::data::ServerObjects> m_objects;
    std::unique_ptr<TRemoteUdpConnection> m_connection;
};

}  // namespace md::test
