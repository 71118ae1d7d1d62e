#include "remoteudpconnection.h"

#include <QAtomicInt>
#include <QUrl>
#include <QUrlQuery>

#include "backend.h"
#include "odbcbackend.h"
#include "pgbackend.h"
#include "sqlitebackend.h"
#include "tsql/mssqlprinter.h"

using md::data::Backend;
using md::sql::Statement;

ConnectionSettings ConnectionSettings::sqlite(const QString& file) {
    ConnectionSettings settings;
    settings.kind = Kind::SQLite;
    settings.database = file;
    return settings;
}

ConnectionSettings ConnectionSettings::postgres(const QString& text) {
    ConnectionSettings settings;
    settings.kind = Kind::PostgreSQL;
    QStringList options;
    auto take = [&](const QString& key, const QString& value) {
        if (key == QLatin1String("host"))
            settings.host = value;
        else if (key == QLatin1String("port"))
            settings.port = value.toInt();
        else if (key == QLatin1String("dbname"))
            settings.database = value;
        else if (key == QLatin1String("user"))
            settings.user = value;
        else if (key == QLatin1String("password"))
            settings.password = value;
        else
            options << key + QLatin1Char('=') + value;
    };
    if (text.startsWith(QLatin1String("postgresql://")) ||
        text.startsWith(QLatin1String("postgres://"))) {
        const QUrl url(text);
        settings.host = url.host(QUrl::FullyDecoded);
        settings.port = url.port(0);
        settings.database = url.path(QUrl::FullyDecoded).mid(1);
        settings.user = url.userName(QUrl::FullyDecoded);
        settings.password = url.password(QUrl::FullyDecoded);
        for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
            take(key, value);
    } else {
        for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const qsizetype eq = part.indexOf(QLatin1Char('='));
            if (eq > 0) take(part.left(eq).trimmed(), part.mid(eq + 1).trimmed());
        }
    }
    settings.options = options.join(QLatin1Char(' '));
    return settings;
}

ConnectionSettings ConnectionSettings::fromDatabaseText(const QString& text) {
    if (text.startsWith(QLatin1String("postgresql://")) ||
        text.startsWith(QLatin1String("postgres://")))
        return postgres(text);
    if (text.startsWith(QLatin1String("odbc:"), Qt::CaseInsensitive)) {
        ConnectionSettings settings;
        settings.kind = Kind::Odbc;
        settings.database = text.mid(5);
        return settings;
    }
    return sqlite(text);
}

// ---------------------------------------------------------------- parameters

ParamMap::ParamMap(std::initializer_list<std::pair<QString, QVariant>> values) {
    for (const auto& [name, value] : values) set(name, value);
}

void ParamMap::set(const QString& name, const QVariant& value) {
    m_values.insert(name.toLower(), value);
}

QVariant ParamMap::paramValue(const md::sql::ParamRef& param) const {
    auto it = m_values.constFind(param.name.toLower());
    if (it == m_values.constEnd())
        throw EDatabaseError(QStringLiteral("没有为参数 :%1 提供值。").arg(param.name));
    return it.value();
}

// ---------------------------------------------------------------- log

void StatementLog::add(const QString& tsql) {
    m_entries.push_back(tsql);
    while (int(m_entries.size()) > m_capacity) m_entries.pop_front();
}

QStringList StatementLog::entries() const {
    return QStringList(m_entries.begin(), m_entries.end());
}
QString StatementLog::last() const {
    return m_entries.empty() ? QString() : m_entries.back();
}
void StatementLog::clear() {
    m_entries.clear();
}
void StatementLog::setCapacity(int capacity) {
    m_capacity = qMax(0, capacity);
    while (int(m_entries.size()) > m_capacity) m_entries.pop_front();
}

// ---------------------------------------------------------------- connection

TRemoteUdpConnection::TRemoteUdpConnection(QObject* parent) : QObject(parent) {
    static QAtomicInt counter;
    m_qtConnectionName = QStringLiteral("md_connection_%1").arg(counter.fetchAndAddRelaxed(1));
}

TRemoteUdpConnection::~TRemoteUdpConnection() {
    Close();
}

void TRemoteUdpConnection::Open(const ConnectionSettings& settings,
                                std::shared_ptr<const md::data::ServerObjects> server) {
    Close();
    if (!server || !server->catalog)
        throw EDatabaseError(QStringLiteral("缺少服务器对象（数据库结构）。"));
    switch (settings.kind) {
        case ConnectionSettings::Kind::SQLite:
            m_backend =
                std::make_unique<md::data::SqliteBackend>(m_qtConnectionName, settings.database);
            break;
        case ConnectionSettings::Kind::PostgreSQL:
            m_backend = std::make_unique<md::data::PgBackend>(m_qtConnectionName, settings);
            break;
        case ConnectionSettings::Kind::Odbc:
            m_backend = std::make_unique<md::data::OdbcBackend>(m_qtConnectionName, settings);
            break;
    }
    m_settings = settings;
    m_server = std::move(server);
    m_translator = std::make_unique<md::sql::Translator>(m_backend->dialect(), m_server->catalog);
}

void TRemoteUdpConnection::Close() {
    const bool inTransaction = m_backend && m_transactionDepth > 0;
    if (inTransaction) {
        try {
            m_backend->rollback();
        } catch (const EDatabaseError&) {
        }
    }
    m_transactionDepth = 0;
    m_wholeDepth = 0;
    m_doomed = false;
    if (inTransaction) Q_EMIT TransactionEnded(false);
    m_translator.reset();
    m_backend.reset();
}

bool TRemoteUdpConnection::Connected() const {
    return m_backend != nullptr;
}

QString TRemoteUdpConnection::databaseName() const {
    return m_backend ? m_backend->databaseName() : QString();
}

void TRemoteUdpConnection::requireOpen() const {
    if (!m_backend) throw EDatabaseError(QStringLiteral("数据库连接未打开。"));
}

void TRemoteUdpConnection::BeginTrans() {
    requireOpen();
    if (m_transactionDepth == 0) m_backend->begin();
    ++m_transactionDepth;
}

void TRemoteUdpConnection::BeginWholeTrans() {
    BeginTrans();
    if (m_wholeDepth == 0) m_wholeDepth = m_transactionDepth;
}

void TRemoteUdpConnection::CommitTrans() {
    requireOpen();
    if (m_transactionDepth == 0) return;
    if (m_transactionDepth == m_wholeDepth) m_wholeDepth = 0;
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        return;
    }
    if (m_doomed) {
        RollbackTrans();
        throw EDatabaseError(QStringLiteral("事务中有一步没有完成，整个事务已撤消。"));
    }
    try {
        m_backend->commit();
        m_transactionDepth = 0;
    } catch (...) {
        RollbackTrans();
        throw;
    }
    Q_EMIT TransactionEnded(true);
}

void TRemoteUdpConnection::RollbackTrans() {
    requireOpen();
    if (m_transactionDepth == 0) return;
    m_transactionDepth = 0;
    m_wholeDepth = 0;
    m_doomed = false;
    try {
        m_backend->rollback();
    } catch (...) {
        Q_EMIT TransactionEnded(false);
        throw;
    }
    Q_EMIT TransactionEnded(false);
}

std::shared_ptr<const md::sql::Batch> TRemoteUdpConnection::Translate(const QString& tsql) {
    requireOpen();
    return m_translator->translate(tsql);
}

std::shared_ptr<const md::sql::Batch> TRemoteUdpConnection::TranslateToRun(const QString& tsql) {
    requireOpen();
    return m_translator->translateToRun(tsql);
}

qint64 TRemoteUdpConnection::ExecSQL(const QString& tsql, const ParamSource* params) {
    const auto batch = TranslateToRun(tsql);
    qint64 changed = 0;
    runBatch(*batch, tsql, params, nullptr, &changed);
    return changed;
}

bool TRemoteUdpConnection::OpenSQL(const QString& tsql, RowSink& sink, const ParamSource* params) {
    const auto batch = TranslateToRun(tsql);
    qint64 changed = 0;
    return runBatch(*batch, tsql, params, &sink, &changed);
}

namespace {

// The first statement that returns rows delivers them; later ones run only for
// their effects.
class DiscardRows : public RowSink {
  public:
    void setColumns(const QVector<ColumnMeta>& columns) override { m_row.resize(columns.size()); }
    QVariant* appendRow() override { return m_row.data(); }

  private:
    QVector<QVariant> m_row;
};

// Tells whether a sink received its columns, i.e. whether rows were delivered.
class SinkWatch : public RowSink {
  public:
    explicit SinkWatch(RowSink& inner) : m_inner(inner) {}
    void setColumns(const QVector<ColumnMeta>& columns) override {
        m_used = true;
        m_inner.setColumns(columns);
    }
    QVariant* appendRow() override { return m_inner.appendRow(); }
    bool used() const { return m_used; }

  private:
    RowSink& m_inner;
    bool m_used = false;
};

}  // namespace

bool TRemoteUdpConnection::runBatch(const md::sql::Batch& batch, const QString& tsql,
                                    const ParamSource* params, RowSink* sink, qint64* changed) {
    requireOpen();
    if (m_nesting == 0) m_log.add(tsql);
    // A batch of several statements is all or nothing.
    std::unique_ptr<Unit> unit;
    if (batch.statements.size() > 1) unit = std::make_unique<Unit>(*this);

    std::optional<SinkWatch> watch;
    if (sink) watch.emplace(*sink);
    DiscardRows discard;
    for (const Statement& statement : batch.statements) {
        RowSink* target = nullptr;
        if (watch && !watch->used()) target = &*watch;
        if (statement.kind == Statement::Kind::Exec) {
            callProcedure(statement, params, target);
            continue;
        }
        if (statement.sql.isEmpty()) continue;
        if (!statement.returnsRows)
            target = nullptr;
        else if (!target)
            target = &discard;
        *changed += RunStatementUnlogged(statement, params, target);
    }
    if (unit) unit->commit();
    return watch && watch->used();
}

qint64 TRemoteUdpConnection::RunStatement(const Statement& statement, const ParamSource* params,
                                          RowSink* sink) {
    requireOpen();
    if (m_nesting == 0) m_log.add(statement.tsql);
    if (statement.kind == Statement::Kind::Exec) {
        callProcedure(statement, params, sink);
        return 0;
    }
    return RunStatementUnlogged(statement, params, sink);
}

qint64 TRemoteUdpConnection::RunStatementUnlogged(const Statement& statement,
                                                  const ParamSource* params, RowSink* sink) {
    md::data::PreparedStatement& prepared = m_backend->prepare(statement.sql);
    if (!statement.params.isEmpty() && !params)
        throw EDatabaseError(
            QStringLiteral("没有为参数 :%1 提供值。").arg(statement.params[0].name));
    if (m_backend->dialect() == md::sql::Dialect::SqlServer) {
        // "?" placeholders: one value per occurrence, in order.
        for (int k = 0; k < statement.placeholderOrder.size(); ++k)
            prepared.bind(k, params->paramValue(statement.params[statement.placeholderOrder[k]]));
    } else {
        for (int i = 0; i < statement.params.size(); ++i)
            prepared.bind(i, params->paramValue(statement.params[i]));
        for (int k = 0; k < statement.literals.size(); ++k)
            prepared.bind(int(statement.params.size()) + k, statement.literals[k]);
    }
    try {
        return prepared.execute(sink);
    } catch (EDatabaseError& error) {
        completeViolation(error.violation(), statement, params);
        throw;
    }
}

void TRemoteUdpConnection::completeViolation(TConstraintViolation& violation,
                                             const Statement& statement,
                                             const ParamSource* params) const {
    if (violation.kind == TConstraintViolation::Kind::None) return;
    if (violation.table.isEmpty()) violation.table = statement.targetTable;
    // A message that gives values only (SQL Server): they are the key's.
    if (violation.columns.isEmpty())
        if (const md::sql::TableInfo* table = catalog().table(violation.table))
            if (table->key.size() == violation.values.size()) violation.columns = table->key;
    if (!violation.values.isEmpty() || !params) return;
    // Written values come from parameters named after their columns (as the
    // datasets and the demo write them); a where clause's value is the old one.
    QStringList values;
    for (const QString& column : violation.columns) {
        QString value;
        bool found = false;
        for (const md::sql::ParamRef& param : statement.params)
            if (!param.inWhere && param.name.compare(column, Qt::CaseInsensitive) == 0) {
                value = params->paramValue(param).toString();
                found = true;
                break;
            }
        if (!found) return;
        values << value;
    }
    violation.values = values;
}

void TRemoteUdpConnection::callProcedure(const Statement& statement, const ParamSource* params,
                                         RowSink* sink) {
    if (m_settings.serverProcedures) {
        // The server's own procedure, called as written.
        QVector<md::sql::ParamRef> refs;
        for (const md::sql::ExecArg& arg : statement.args)
            if (arg.kind == md::sql::ExecArg::Kind::Param) refs.push_back({arg.paramName, false});
        QVector<int> order;
        md::data::PreparedStatement& prepared =
            m_backend->prepare(md::sql::passThroughText(statement.tsql, refs, &order));
        for (int i = 0; i < order.size(); ++i) {
            if (!params)
                throw EDatabaseError(
                    QStringLiteral("没有为参数 :%1 提供值。").arg(refs[order[i]].name));
            prepared.bind(i, params->paramValue(refs[order[i]]));
        }
        prepared.execute(sink);
        return;
    }
    const md::data::Procedure* procedure = m_server->procedure(statement.procedure);
    if (!procedure)
        throw EDatabaseError(QStringLiteral("找不到存储过程 '%1'。").arg(statement.procedure));

    QVariantList args;
    for (const md::sql::ExecArg& arg : statement.args) {
        switch (arg.kind) {
            case md::sql::ExecArg::Kind::Literal:
                args << arg.value;
                break;
            case md::sql::ExecArg::Kind::Param:
                if (!params)
                    throw EDatabaseError(
                        QStringLiteral("没有为参数 :%1 提供值。").arg(arg.paramName));
                args << params->paramValue({arg.paramName, false});
                break;
            case md::sql::ExecArg::Kind::Expression: {
                ResultTable value;
                m_backend->prepare(QStringLiteral("select ") + arg.expression).execute(&value);
                args << (value.rowCount > 0 ? value.at(0, 0) : QVariant());
                break;
            }
        }
    }
    md::data::ProcedureCall call(*this, args, sink);
    ++m_nesting;
    try {
        (*procedure)(call);
    } catch (...) {
        --m_nesting;
        throw;
    }
    --m_nesting;
}

qint64 TRemoteUdpConnection::lastInsertId() {
    requireOpen();
    return m_backend->lastInsertId();
}

md::sql::Dialect TRemoteUdpConnection::dialect() const {
    requireOpen();
    return m_backend->dialect();
}

const md::sql::Catalog& TRemoteUdpConnection::catalog() const {
    requireOpen();
    return *m_server->catalog;
}

QSqlDatabase TRemoteUdpConnection::database() const {
    return QSqlDatabase::database(m_qtConnectionName, false);
}

Backend& TRemoteUdpConnection::backend() {
    requireOpen();
    return *m_backend;
}

// ---------------------------------------------------------------- unit of work

TRemoteUdpConnection::Unit::Unit(TRemoteUdpConnection& connection) : m_connection(connection) {
    connection.requireOpen();
    if (connection.m_transactionDepth == 0) {
        connection.m_backend->begin();
        m_owner = true;
    } else if (connection.m_wholeDepth == 0) {
        m_savepoint = QStringLiteral("md_unit_%1").arg(++connection.m_savepointCounter);
        connection.m_backend->savepoint(m_savepoint);
    }
    ++connection.m_transactionDepth;
}

TRemoteUdpConnection::Unit::~Unit() {
    if (m_done) return;
    try {
        --m_connection.m_transactionDepth;
        if (m_owner) {
            m_connection.m_backend->rollback();
        } else if (m_savepoint.isEmpty()) {
            m_connection.m_doomed = true;  // part of a whole transaction
        } else {
            m_connection.m_backend->rollbackToSavepoint(m_savepoint);
            m_connection.m_backend->releaseSavepoint(m_savepoint);
        }
    } catch (const EDatabaseError&) {
        // Already failing; the original error is the one to show.
    }
}

void TRemoteUdpConnection::Unit::commit() {
    if (m_owner)
        m_connection.m_backend->commit();
    else if (!m_savepoint.isEmpty())
        m_connection.m_backend->releaseSavepoint(m_savepoint);
    --m_connection.m_transactionDepth;
    m_done = true;
}
