#pragma once
// The PostgreSQL backend: a database opened through Qt's driver, worked through
// the driver's own libpq connection, with server-side prepared statements.
#include <QHash>
#include <memory>
#include <optional>

#include "backend.h"

struct pg_conn;
typedef struct pg_conn PGconn;

struct ConnectionSettings;

namespace md::data {

class PgBackend : public Backend {
  public:
    // Connects, sets the session up as the translated statements expect it
    // (the workstation's time zone, ISO dates) and makes sure the database has
    // the runtime of pgruntime.cpp. Throws EDatabaseError when it cannot.
    PgBackend(const QString& connectionName, const ConnectionSettings& settings);
    ~PgBackend() override;

    md::sql::Dialect dialect() const override { return md::sql::Dialect::PostgreSQL; }
    QString databaseName() const override { return m_name; }
    PreparedStatement& prepare(const QString& sql) override;
    void executeScript(const QString& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    void savepoint(const QString& name) override;
    void releaseSavepoint(const QString& name) override;
    void rollbackToSavepoint(const QString& name) override;
    qint64 lastInsertId() override;

    PGconn* handle() const { return m_conn; }

    // The T-SQL declared type of a table column, from the database catalog
    // ("varchar(30)", "bit", "money"); empty when the column is not known.
    struct ColumnType {
        QString declared;
        md::sql::SqlType type = md::sql::SqlType::Unknown;
    };
    ColumnType tableColumnType(unsigned tableOid, int column);

  private:
    class Statement;
    friend class Statement;
    QString m_connectionName;
    QString m_name;
    PGconn* m_conn = nullptr;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
    QHash<unsigned, QVector<ColumnType>> m_tableTypes;
    int m_statementCounter = 0;
    std::optional<qint64> m_lastInsertId;
};

// Builds libpq connection text from the settings ("host=... dbname=...").
QString pgConnectionString(const ConnectionSettings& settings);

}  // namespace md::data
