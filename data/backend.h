#pragma once
// One backend per database kind. A backend runs dialect text that the translator
// has produced; it knows nothing of T-SQL.
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

#include "rowsink.h"
#include "tsql/sqltypes.h"

namespace md::data {

class PreparedStatement {
  public:
    virtual ~PreparedStatement() = default;
    // Values by parameter index (0-based, as in Statement::params).
    virtual void bind(int index, const QVariant& value) = 0;
    // Runs the statement; rows go to the sink when it is given, else are dropped.
    // Returns the number of rows changed by an insert, update or delete.
    virtual qint64 execute(RowSink* sink) = 0;
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual md::sql::Dialect dialect() const = 0;
    virtual QString databaseName() const = 0;

    // Prepared statements are cached by text: preparing the same text twice is cheap.
    virtual PreparedStatement& prepare(const QString& sql) = 0;
    virtual void executeScript(const QString& sql) = 0;  // no parameters, no rows

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual void savepoint(const QString& name) = 0;
    virtual void releaseSavepoint(const QString& name) = 0;
    virtual void rollbackToSavepoint(const QString& name) = 0;

    // The identity value of the last row inserted on this connection.
    virtual qint64 lastInsertId() = 0;
};

// What the backends share: the statement cache by text, and closing Qt's
// connection.

// The statement cached for the text, else the one make() returns, cached; a
// full cache starts afresh.
template <class Statement, class Make>
Statement& cachedStatement(QHash<QString, std::shared_ptr<Statement>>& cache, const QString& sql,
                           int limit, Make make) {
    auto it = cache.find(sql);
    if (it != cache.end()) return **it;
    if (cache.size() >= limit) cache.clear();
    std::shared_ptr<Statement> statement = make();
    cache.insert(sql, statement);
    return *statement;
}

// Closes the named Qt connection and removes it; no handle may be left open.
inline void closeQtConnection(const QString& connectionName) {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

}  // namespace md::data
