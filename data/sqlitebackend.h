#pragma once
// The embedded backend: a SQLite file opened through Qt's driver, worked through
// the driver's own sqlite3 handle so that rows move without extra copies.
#include <QHash>
#include <QSqlDatabase>
#include <memory>

#include "backend.h"

struct sqlite3;

namespace md::data {

class SqliteBackend : public Backend {
  public:
    // Opens (or creates) the file. Throws EDatabaseError when it cannot.
    SqliteBackend(const QString& connectionName, const QString& file);
    ~SqliteBackend() override;

    md::sql::Dialect dialect() const override { return md::sql::Dialect::SQLite; }
    QString databaseName() const override { return m_file; }
    PreparedStatement& prepare(const QString& sql) override;
    void executeScript(const QString& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    void savepoint(const QString& name) override;
    void releaseSavepoint(const QString& name) override;
    void rollbackToSavepoint(const QString& name) override;
    qint64 lastInsertId() override;

    sqlite3* handle() const { return m_db; }

    // Writes a copy of the database's committed state to the file (an existing
    // file is overwritten) through SQLite's backup on a connection of its own:
    // consistent in WAL mode, and possible while this connection holds the write
    // lock of a transaction that has changed nothing yet. Throws EDatabaseError.
    void copyTo(const QString& file);

  private:
    class Statement;
    QString m_connectionName;
    QString m_file;
    sqlite3* m_db = nullptr;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
};

// A database error in the system's words, with SQLite's own text kept for support.
[[noreturn]] void throwSqliteError(sqlite3* db, const QString& context = {});

}  // namespace md::data
