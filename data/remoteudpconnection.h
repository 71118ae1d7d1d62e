#pragma once
// The connection every dataset of the module is bound to. It owns one Qt SQL
// connection to one backend, translates the windows' T-SQL for it, runs the
// server's procedures and keeps a log of the statements it ran.
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantHash>
#include <deque>
#include <memory>
#include <optional>

#include "errors.h"
#include "rowsink.h"
#include "serverobjects.h"
#include "tsql/translator.h"

namespace md::data {
class Backend;
class PreparedStatement;
}  // namespace md::data

struct ConnectionSettings {
    enum class Kind { SQLite, PostgreSQL, Odbc };
    Kind kind = Kind::SQLite;
    QString database;  // SQLite: file path; PostgreSQL: database name; ODBC: data source name
    QString host;      // PostgreSQL: host name or socket folder
    int port = 0;
    QString user;
    QString password;
    QString options;  // driver connect options
    // The server holds the product's stored procedures itself (an existing
    // company database on SQL Server): "exec" goes to it as text. Otherwise the
    // procedures run from the workstation, on every backend.
    bool serverProcedures = false;

    static ConnectionSettings sqlite(const QString& file);
    // "postgresql://user@host:port/database" or libpq's "host=... dbname=..." text.
    static ConnectionSettings postgres(const QString& uriOrConnInfo);
    // What a --db option names: a "postgresql://" address, "odbc:<data source>"
    // (SQL Server), or else a SQLite file.
    static ConnectionSettings fromDatabaseText(const QString& text);
    bool isFile() const { return kind == Kind::SQLite; }
};

// Values of ":name" parameters for a statement.
class ParamSource {
  public:
    virtual ~ParamSource() = default;
    virtual QVariant paramValue(const md::sql::ParamRef& param) const = 0;
};

// Parameters by name, any case.
class ParamMap : public ParamSource {
  public:
    ParamMap() = default;
    ParamMap(std::initializer_list<std::pair<QString, QVariant>> values);
    void set(const QString& name, const QVariant& value);
    QVariant paramValue(const md::sql::ParamRef& param) const override;

  private:
    QVariantHash m_values;  // lower-case names
};

// The T-SQL text of every statement the connection ran, newest last. Support
// engineers read it; the tests check texts exactly against it.
class StatementLog {
  public:
    void add(const QString& tsql);
    QStringList entries() const;
    QString last() const;
    void clear();
    void setCapacity(int capacity);  // oldest entries are dropped beyond it

  private:
    std::deque<QString> m_entries;
    int m_capacity = 10000;
};

class TRemoteUdpConnection : public QObject {
    Q_OBJECT
  public:
    explicit TRemoteUdpConnection(QObject* parent = nullptr);
    ~TRemoteUdpConnection() override;

    // Opens the backend. The server objects (schema catalog, procedures) come from
    // the server library. Throws EDatabaseError when the database cannot be opened.
    void Open(const ConnectionSettings& settings,
              std::shared_ptr<const md::data::ServerObjects> server);
    void Close();
    bool Connected() const;
    const ConnectionSettings& settings() const { return m_settings; }
    QString databaseName() const;

    // Transactions nest: only the outermost CommitTrans commits; RollbackTrans
    // rolls the whole transaction back, as SQL Server does.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const { return m_transactionDepth > 0; }
    // A transaction that is all or nothing (TTransactionScope::Whole): the units
    // inside it take no savepoint, and a unit that fails dooms it, so that its
    // commit rolls back and throws. A long batch inside a savepoint makes
    // SQLite journal every row it writes.
    void BeginWholeTrans();

  Q_SIGNALS:
    // The outermost transaction has ended: committed, or rolled back (also when
    // the connection closes inside one). Datasets that sent changes inside it
    // learn whether those changes are kept.
    void TransactionEnded(bool committed);

  public:
    // Runs a T-SQL batch; returns the number of rows changed by its statements.
    qint64 ExecSQL(const QString& tsql, const ParamSource* params = nullptr);
    // Runs a T-SQL batch and delivers the rows of its first result set. Returns
    // false when no statement of the batch returned rows.
    bool OpenSQL(const QString& tsql, RowSink& sink, const ParamSource* params = nullptr);

    // The translation of a batch (cached by text).
    std::shared_ptr<const md::sql::Batch> Translate(const QString& tsql);
    // The translation ExecSQL and OpenSQL run: quoted texts may come bound as
    // literals (Statement::literals), so a statement is prepared once per shape.
    std::shared_ptr<const md::sql::Batch> TranslateToRun(const QString& tsql);
    // Runs one translated statement; rows go to the sink when given. Used by the
    // datasets to send many rows through one prepared statement.
    qint64 RunStatement(const md::sql::Statement& statement, const ParamSource* params,
                        RowSink* sink);

    qint64 lastInsertId();
    md::sql::Dialect dialect() const;
    const md::sql::Catalog& catalog() const;
    const md::data::ServerObjects& server() const { return *m_server; }
    StatementLog& log() { return m_log; }
    QSqlDatabase database() const;
    md::data::Backend& backend();

    // A unit of work that either commits or leaves the database as it was:
    // inside an open transaction it is a savepoint, otherwise a transaction of its
    // own. Destroyed without commit(), it rolls back.
    class Unit {
      public:
        explicit Unit(TRemoteUdpConnection& connection);
        ~Unit();
        void commit();
        Unit(const Unit&) = delete;
        Unit& operator=(const Unit&) = delete;

      private:
        TRemoteUdpConnection& m_connection;
        QString m_savepoint;  // empty when the unit owns the transaction or is part of a whole one
        bool m_owner = false;
        bool m_done = false;
    };

  private:
    bool runBatch(const md::sql::Batch& batch, const QString& tsql, const ParamSource* params,
                  RowSink* sink, qint64* changed);
    qint64 RunStatementUnlogged(const md::sql::Statement& statement, const ParamSource* params,
                                RowSink* sink);
    void callProcedure(const md::sql::Statement& statement, const ParamSource* params,
                       RowSink* sink);
    void requireOpen() const;
    // Fills in what the backend's message left out: the table written, the key
    // columns, the values the statement's parameters gave them.
    void completeViolation(TConstraintViolation& violation, const md::sql::Statement& statement,
                           const ParamSource* params) const;

    ConnectionSettings m_settings;
    QString m_qtConnectionName;
    std::shared_ptr<const md::data::ServerObjects> m_server;
    std::unique_ptr<md::data::Backend> m_backend;
    std::unique_ptr<md::sql::Translator> m_translator;
    StatementLog m_log;
    int m_transactionDepth = 0;
    int m_wholeDepth = 0;   // the depth a whole transaction began at; 0 when none
    bool m_doomed = false;  // a unit of the whole transaction failed
    int m_savepointCounter = 0;
    int m_nesting = 0;  // statements run by procedures are not logged
};
