#pragma once
// SQL Server through ODBC (Qt's QODBC driver). The statements are T-SQL as the
// windows wrote them (see mssqlprinter.h), with "?" placeholders.
#include <QHash>
#include <QSqlDatabase>
#include <memory>

#include "backend.h"

struct ConnectionSettings;

namespace md::data {

class OdbcBackend : public Backend {
  public:
    // settings.database is the data source name (or a full "DRIVER=...;" text);
    // user and password, when given, are passed beside it.
    OdbcBackend(const QString& connectionName, const ConnectionSettings& settings);
    ~OdbcBackend() override;

    md::sql::Dialect dialect() const override { return md::sql::Dialect::SqlServer; }
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

  private:
    class Statement;
    QSqlDatabase database() const;
    bool isSqlServer() const;

    QString m_connectionName;
    QString m_name;
    bool m_inTransaction = false;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
};

}  // namespace md::data
