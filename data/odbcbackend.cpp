#include "odbcbackend.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "errors.h"
#include "remoteudpconnection.h"

namespace md::data {

namespace {

constexpr int kStatementCacheLimit = 128;

// SQL Server: "Cannot insert duplicate key in object 'dbo.t'. The duplicate
// key value is (x).", "Cannot insert the value NULL into column 'c', table
// 'db.dbo.t'"; the SQLite driver (the tests' stand-in): "UNIQUE constraint
// failed: t.c". Columns a message does not name are the key's (the connection
// fills them in).
TConstraintViolation violationOf(const QString& text) {
    using Kind = TConstraintViolation::Kind;
    TConstraintViolation violation;
    const auto between = [&text](QStringView start, QStringView end) {
        const qsizetype from = text.indexOf(start);
        if (from < 0) return QString();
        const qsizetype to = text.indexOf(end, from + start.size());
        return to < 0 ? QString() : text.mid(from + start.size(), to - from - start.size());
    };
    const auto lastPart = [](const QString& name) { return name.section(QLatin1Char('.'), -1); };
    if (text.contains(QLatin1String("Cannot insert duplicate key"))) {
        violation.kind = Kind::Duplicate;
        violation.table = lastPart(between(u"in object '", u"'"));
        const QString value = between(u"duplicate key value is (", u").");
        if (!value.isNull()) violation.values << value;
    } else if (text.contains(QLatin1String("Cannot insert the value NULL into column"))) {
        violation.kind = Kind::NotNull;
        violation.columns << between(u"into column '", u"'");
        violation.table = lastPart(between(u"table '", u"'"));
    } else if (text.contains(QLatin1String("UNIQUE constraint failed:"))) {
        violation.kind = Kind::Duplicate;
        const QString rest = text.mid(text.indexOf(QLatin1String("failed:")) + 7).trimmed();
        qsizetype end = 0;
        while (end < rest.size() && !rest.at(end).isSpace() && rest.at(end) != u',') ++end;
        const QString name = rest.left(end);
        violation.table = name.section(QLatin1Char('.'), 0, 0);
        violation.columns << name.section(QLatin1Char('.'), 1);
    }
    return violation;
}

[[noreturn]] void throwOdbcError(const QSqlError& error, const QString& sql) {
    QString message = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (!sql.isEmpty()) message += QStringLiteral("\n") + sql;
    EDatabaseError failure(message);
    failure.setStatement(sql);
    failure.violation() = violationOf(message);
    throw failure;
}

md::sql::SqlType typeOf(QMetaType type) {
    using md::sql::SqlType;
    switch (type.id()) {
        case QMetaType::Bool:
            return SqlType::Bit;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return SqlType::Integer;
        case QMetaType::Double:
        case QMetaType::Float:
            return SqlType::Float;
        case QMetaType::QDateTime:
            return SqlType::DateTime;
        case QMetaType::QDate:
            return SqlType::Date;
        case QMetaType::QTime:
            return SqlType::Time;
        case QMetaType::QByteArray:
            return SqlType::Blob;
        case QMetaType::QString:
            return SqlType::Text;
        default:
            return SqlType::Unknown;
    }
}

// Values as every backend delivers them: integers as qlonglong, dates as text.
QVariant normalized(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return {};
    switch (v.metaType().id()) {
        case QMetaType::Bool:
            return QVariant(qlonglong(v.toBool() ? 1 : 0));
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return QVariant(v.toLongLong());
        case QMetaType::Float:
            return QVariant(v.toDouble());
        case QMetaType::QDateTime:
            return QVariant(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        case QMetaType::QDate:
            return QVariant(v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
        case QMetaType::QTime:
            return QVariant(v.toTime().toString(QStringLiteral("HH:mm:ss")));
        default:
            return v;
    }
}

}  // namespace

class OdbcBackend::Statement : public PreparedStatement {
  public:
    Statement(const QSqlDatabase& db, const QString& sql) : m_query(db), m_sql(sql) {
        m_query.setForwardOnly(true);
        if (!m_query.prepare(sql)) throwOdbcError(m_query.lastError(), sql);
    }

    void bind(int index, const QVariant& value) override {
        if (value.metaType().id() == QMetaType::Bool)
            m_query.bindValue(index, value.toBool() ? 1 : 0);
        else
            m_query.bindValue(index, value);
    }

    qint64 execute(RowSink* sink) override {
        if (!m_query.exec()) {
            const QSqlError error = m_query.lastError();
            m_query.finish();
            throwOdbcError(error, m_sql);
        }
        qint64 changed = 0;
        if (m_query.isSelect()) {
            if (sink) {
                const QSqlRecord record = m_query.record();
                QVector<ColumnMeta> columns(record.count());
                for (int c = 0; c < record.count(); ++c) {
                    columns[c].name = record.fieldName(c);
                    columns[c].type = typeOf(record.field(c).metaType());
                }
                sink->setColumns(columns);
                while (m_query.next()) {
                    QVariant* row = sink->appendRow();
                    for (int c = 0; c < columns.size(); ++c) row[c] = normalized(m_query.value(c));
                }
            }
        } else {
            changed = qMax(0, m_query.numRowsAffected());
        }
        m_query.finish();
        return changed;
    }

  private:
    QSqlQuery m_query;
    QString m_sql;
};

OdbcBackend::OdbcBackend(const QString& connectionName, const ConnectionSettings& settings)
    : m_connectionName(connectionName), m_name(settings.database) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), connectionName);
    db.setDatabaseName(settings.database);
    if (!settings.user.isEmpty()) db.setUserName(settings.user);
    if (!settings.password.isEmpty()) db.setPassword(settings.password);
    if (!settings.options.isEmpty()) db.setConnectOptions(settings.options);
    if (!db.open()) {
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw EDatabaseError(QStringLiteral("无法连接数据源 %1：%2").arg(settings.database, error));
    }
}

OdbcBackend::~OdbcBackend() {
    m_statements.clear();
    closeQtConnection(m_connectionName);
}

QSqlDatabase OdbcBackend::database() const {
    return QSqlDatabase::database(m_connectionName, false);
}

bool OdbcBackend::isSqlServer() const {
    return database().driver()->dbmsType() == QSqlDriver::MSSqlServer;
}

PreparedStatement& OdbcBackend::prepare(const QString& sql) {
    return cachedStatement(m_statements, sql, kStatementCacheLimit,
                           [&] { return std::make_shared<Statement>(database(), sql); });
}

void OdbcBackend::executeScript(const QString& sql) {
    QSqlQuery query(database());
    if (!query.exec(sql)) throwOdbcError(query.lastError(), sql);
}

void OdbcBackend::begin() {
    if (!database().transaction()) throwOdbcError(database().lastError(), QStringLiteral("begin"));
    m_inTransaction = true;
}

void OdbcBackend::commit() {
    if (!database().commit()) throwOdbcError(database().lastError(), QStringLiteral("commit"));
    m_inTransaction = false;
}

void OdbcBackend::rollback() {
    if (!m_inTransaction) return;
    m_inTransaction = false;
    if (!database().rollback()) throwOdbcError(database().lastError(), QStringLiteral("rollback"));
}

// SQL Server names savepoints "save transaction"; the SQLite stand-in of the
// tests speaks standard SQL.
void OdbcBackend::savepoint(const QString& name) {
    executeScript(
        (isSqlServer() ? QStringLiteral("save transaction ") : QStringLiteral("savepoint ")) +
        name);
}

void OdbcBackend::releaseSavepoint(const QString& name) {
    if (!isSqlServer()) executeScript(QStringLiteral("release savepoint ") + name);
}

void OdbcBackend::rollbackToSavepoint(const QString& name) {
    executeScript((isSqlServer() ? QStringLiteral("rollback transaction ")
                                 : QStringLiteral("rollback to savepoint ")) +
                  name);
}

qint64 OdbcBackend::lastInsertId() {
    QSqlQuery query(database());
    const QString sql = isSqlServer() ? QStringLiteral("select scope_identity()")
                                      : QStringLiteral("select last_insert_rowid()");
    if (!query.exec(sql) || !query.next()) return 0;
    return query.value(0).toLongLong();
}

}  // namespace md::data
