#include "pgbackend.h"

#include <libpq-fe.h>

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QTimeZone>

#include "errors.h"
#include "remoteudpconnection.h"
#include "tsql/pgruntime.h"

namespace md::data {

namespace {

constexpr int kStatementCacheLimit = 256;
// Serialises runtime installs of several workstations starting at once.
constexpr qint64 kRuntimeLock = 0x6D645F72756E;

// Type OIDs of the built-in types (pg_type.h).
enum : Oid {
    kBool = 16,
    kBytea = 17,
    kChar = 18,
    kName = 19,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kText = 25,
    kOid = 26,
    kFloat4 = 700,
    kFloat8 = 701,
    kBpchar = 1042,
    kVarchar = 1043,
    kDate = 1082,
    kTime = 1083,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700,
};

QString friendlyMessage(const PGresult* result, const QString& fallback) {
    if (!result) return fallback;
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const QString primary = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
    const QString detail = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL));
    const QString code = QString::fromLatin1(state ? state : "");
    // The messages users meet most often, said plainly; the server's text follows.
    if (code == QLatin1String("23505"))
        return QStringLiteral("不能插入重复的数据：%1").arg(detail.isEmpty() ? primary : detail);
    if (code == QLatin1String("23502"))
        return QStringLiteral("不能将空值插入列 %1。")
            .arg(QString::fromUtf8(PQresultErrorField(result, PG_DIAG_COLUMN_NAME)));
    if (code == QLatin1String("40001") || code == QLatin1String("40P01") ||
        code == QLatin1String("55P03"))
        return QStringLiteral("数据库正被其他用户使用，请稍后再试。(%1)").arg(primary);
    if (code == QLatin1String("22007") || code == QLatin1String("22018")) return primary;
    return primary.isEmpty()
               ? fallback
               : primary + (detail.isEmpty() ? QString() : QStringLiteral("\n") + detail);
}

// The key and the value of a duplicate from the server's detail,
// "Key (a, b)=(x, y) already exists."; values stay unknown when a comma
// inside one of them makes the split ambiguous.
TConstraintViolation violationOf(const PGresult* result) {
    TConstraintViolation violation;
    if (!result) return violation;
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const QLatin1String code(state ? state : "");
    violation.table = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_TABLE_NAME));
    if (code == QLatin1String("23502")) {
        violation.kind = TConstraintViolation::Kind::NotNull;
        violation.columns << QString::fromUtf8(PQresultErrorField(result, PG_DIAG_COLUMN_NAME));
    } else if (code == QLatin1String("23505")) {
        violation.kind = TConstraintViolation::Kind::Duplicate;
        const QString detail =
            QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL));
        const qsizetype open = detail.indexOf(QLatin1Char('('));
        const qsizetype middle = detail.indexOf(QLatin1String(")=("));
        const qsizetype close = detail.lastIndexOf(QLatin1Char(')'));
        if (open >= 0 && middle > open && close > middle) {
            for (const QString& column : detail.mid(open + 1, middle - open - 1).split(u','))
                violation.columns << column.trimmed();
            const QString values = detail.mid(middle + 3, close - middle - 3);
            const QStringList parts = values.split(QStringLiteral(", "));
            if (violation.columns.size() == 1)
                violation.values << values;
            else if (parts.size() == violation.columns.size())
                violation.values = parts;
        }
    }
    return violation;
}

[[noreturn]] void throwPgError(PGconn* conn, const PGresult* result, const QString& sql) {
    QString message = friendlyMessage(result, QString::fromUtf8(PQerrorMessage(conn)).trimmed());
    if (!sql.isEmpty()) message += QStringLiteral("\n") + sql;
    EDatabaseError error(message);
    error.setStatement(sql);
    error.violation() = violationOf(result);
    throw error;
}

struct Result {
    PGresult* r;
    explicit Result(PGresult* result) : r(result) {}
    ~Result() { PQclear(r); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
};

void check(PGconn* conn, const Result& result, const QString& sql) {
    const ExecStatusType status = result.r ? PQresultStatus(result.r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throwPgError(conn, result.r, sql);
}

QString textOf(const PGresult* r, int row, int column) {
    return QString::fromUtf8(PQgetvalue(r, row, column), PQgetlength(r, row, column));
}

// A T-SQL declared type for a PostgreSQL one (format_type's text).
PgBackend::ColumnType declaredTypeOf(const QString& pgType, const QString& typeName) {
    using md::sql::SqlType;
    PgBackend::ColumnType t;
    if (typeName == QLatin1String("md_bit")) return {QStringLiteral("bit"), SqlType::Bit};
    if (typeName == QLatin1String("md_money")) return {QStringLiteral("money"), SqlType::Decimal};
    const qsizetype paren = pgType.indexOf(QLatin1Char('('));
    const QString base = paren < 0 ? pgType : pgType.left(paren);
    const QString args =
        paren < 0 ? QString() : pgType.mid(paren, pgType.indexOf(QLatin1Char(')')) - paren + 1);
    if (base == QLatin1String("character varying"))
        return {QStringLiteral("varchar") + args, SqlType::Text};
    if (base == QLatin1String("character")) return {QStringLiteral("char") + args, SqlType::Text};
    if (base == QLatin1String("text")) return {QStringLiteral("varchar(max)"), SqlType::Text};
    if (base == QLatin1String("integer")) return {QStringLiteral("int"), SqlType::Integer};
    if (base == QLatin1String("bigint") || base == QLatin1String("smallint"))
        return {base, SqlType::Integer};
    if (base == QLatin1String("numeric"))
        return {QStringLiteral("decimal") + args, SqlType::Decimal};
    if (base == QLatin1String("double precision")) return {QStringLiteral("float"), SqlType::Float};
    if (base == QLatin1String("real")) return {QStringLiteral("real"), SqlType::Float};
    if (base.startsWith(QLatin1String("timestamp")))
        return {QStringLiteral("datetime"), SqlType::DateTime};
    if (base == QLatin1String("date")) return {QStringLiteral("date"), SqlType::Date};
    if (base.startsWith(QLatin1String("time"))) return {QStringLiteral("time"), SqlType::Time};
    if (base == QLatin1String("bytea")) return {QStringLiteral("image"), SqlType::Blob};
    if (base == QLatin1String("boolean")) return {QStringLiteral("bit"), SqlType::Bit};
    return t;
}

}  // namespace

QString pgConnectionString(const ConnectionSettings& settings) {
    auto quote = [](const QString& value) -> QString {
        QString v = value;
        v.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
            .replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + v + QLatin1Char('\'');
    };
    QStringList parts;
    if (!settings.host.isEmpty()) parts << QStringLiteral("host=") + quote(settings.host);
    if (settings.port > 0) parts << QStringLiteral("port=%1").arg(settings.port);
    if (!settings.database.isEmpty()) parts << QStringLiteral("dbname=") + quote(settings.database);
    if (!settings.user.isEmpty()) parts << QStringLiteral("user=") + quote(settings.user);
    if (!settings.password.isEmpty())
        parts << QStringLiteral("password=") + quote(settings.password);
    if (!settings.options.isEmpty()) parts << settings.options;
    return parts.join(QLatin1Char(' '));
}

class PgBackend::Statement : public PreparedStatement {
  public:
    Statement(PgBackend& backend, const QString& sql) : m_backend(backend), m_sql(sql) {
        PGconn* conn = backend.m_conn;
        m_name = "md_" + QByteArray::number(++backend.m_statementCounter);
        const QByteArray text = sql.toUtf8();
        {
            Result prepared(PQprepare(conn, m_name.constData(), text.constData(), 0, nullptr));
            check(conn, prepared, sql);
        }
        Result described(PQdescribePrepared(conn, m_name.constData()));
        check(conn, described, sql);
        const int count = PQnparams(described.r);
        m_values.resize(std::size_t(count));
        m_pointers.assign(std::size_t(count), nullptr);
        m_lengths.assign(std::size_t(count), 0);
        m_isInsert = sql.startsWith(QLatin1String("INSERT"));
    }

    ~Statement() override {
        if (m_backend.m_conn && PQstatus(m_backend.m_conn) == CONNECTION_OK)
            PQclear(PQexec(m_backend.m_conn, QByteArray("DEALLOCATE " + m_name).constData()));
    }

    void bind(int index, const QVariant& value) override {
        if (index < 0 || std::size_t(index) >= m_values.size())
            return;  // a parameter the text does not use
        const std::size_t i = std::size_t(index);
        if (!value.isValid() || value.isNull()) {
            m_pointers[i] = nullptr;
            return;
        }
        QByteArray& out = m_values[i];
        switch (value.metaType().id()) {
            case QMetaType::Bool:
                out = value.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
                out.setNum(value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                out.setNum(value.toDouble(), 'g', 17);
                break;
            case QMetaType::QByteArray:
                out = "\\x" + value.toByteArray().toHex();
                break;
            case QMetaType::QDate:
                out = value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
                break;
            case QMetaType::QDateTime:
                out = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
                break;
            case QMetaType::QTime:
                out = value.toTime().toString(QStringLiteral("HH:mm:ss")).toLatin1();
                break;
            default:
                out = value.toString().toUtf8();
        }
        m_pointers[i] = out.constData();
        m_lengths[i] = int(out.size());
    }

    qint64 execute(RowSink* sink) override {
        PGconn* conn = m_backend.m_conn;
        Result result(PQexecPrepared(conn, m_name.constData(), int(m_values.size()),
                                     m_pointers.data(), m_lengths.data(), nullptr, 0));
        std::fill(m_pointers.begin(), m_pointers.end(), nullptr);
        check(conn, result, m_sql);
        const PGresult* r = result.r;
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            const int rows = PQntuples(r);
            if (sink) {
                sink->setColumns(columns(r));
                const int count = PQnfields(r);
                for (int row = 0; row < rows; ++row) readRow(r, row, count, sink->appendRow());
            } else if (m_isInsert && rows > 0) {
                // INSERT ... RETURNING of the identity (see the printer)
                m_backend.m_lastInsertId = QByteArray(PQgetvalue(r, rows - 1, 0)).toLongLong();
            }
        }
        const char* changed = PQcmdTuples(const_cast<PGresult*>(r));
        return changed && *changed && !sink ? QByteArray(changed).toLongLong() : 0;
    }

  private:
    QVector<ColumnMeta> columns(const PGresult* r) {
        const int count = PQnfields(r);
        if (m_columns.size() == count && !m_columns.isEmpty()) return m_columns;
        m_columns.resize(count);
        m_oids.resize(count);
        for (int c = 0; c < count; ++c) {
            ColumnMeta& meta = m_columns[c];
            meta.name = QString::fromUtf8(PQfname(r, c));
            m_oids[c] = PQftype(r, c);
            // Like SQLite's declared types: only a column straight from a table
            // brings its type; expressions are typed by the translation.
            const Oid table = PQftable(r, c);
            if (table != InvalidOid) {
                const ColumnType t = m_backend.tableColumnType(table, PQftablecol(r, c));
                meta.declaredType = t.declared;
                meta.type = t.type;
            }
        }
        return m_columns;
    }

    void readRow(const PGresult* r, int row, int count, QVariant* out) {
        for (int c = 0; c < count; ++c) {
            if (PQgetisnull(r, row, c)) {
                out[c] = QVariant();
                continue;
            }
            const char* v = PQgetvalue(r, row, c);
            switch (m_oids[c]) {
                case kInt2:
                case kInt4:
                case kInt8:
                case kOid:
                    out[c] = QVariant(qlonglong(std::strtoll(v, nullptr, 10)));
                    break;
                case kFloat4:
                case kFloat8:
                case kNumeric:
                    out[c] =
                        QVariant(QByteArray::fromRawData(v, PQgetlength(r, row, c)).toDouble());
                    break;
                case kBool:
                    out[c] = QVariant(qlonglong(*v == 't' ? 1 : 0));
                    break;
                case kBytea: {
                    // The Qt driver sets bytea_output to escape on its connection;
                    // libpq reads that and the hex format alike.
                    size_t length = 0;
                    unsigned char* bytes =
                        PQunescapeBytea(reinterpret_cast<const unsigned char*>(v), &length);
                    out[c] = QVariant(
                        QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(length)));
                    PQfreemem(bytes);
                    break;
                }
                default:
                    out[c] = QVariant(textOf(r, row, c));
            }
        }
    }

    PgBackend& m_backend;
    QString m_sql;
    QByteArray m_name;
    std::vector<QByteArray> m_values;
    std::vector<const char*> m_pointers;
    std::vector<int> m_lengths;
    QVector<ColumnMeta> m_columns;
    QVector<Oid> m_oids;
    bool m_isInsert = false;
};

PgBackend::PgBackend(const QString& connectionName, const ConnectionSettings& settings)
    : m_connectionName(connectionName), m_name(settings.database) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(settings.host);
    if (settings.port > 0) db.setPort(settings.port);
    db.setDatabaseName(settings.database);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    db.setConnectOptions(settings.options);
    if (!db.open()) {
        // The password stays out of the message.
        const QString error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw EDatabaseError(QStringLiteral("无法连接数据库 %1：%2").arg(settings.database, error));
    }
    const QVariant handle = db.driver()->handle();
    // The driver's handle is its libpq connection ("PGconn*", "pg_conn*").
    if (handle.isValid() && QByteArray(handle.typeName()).endsWith("conn*"))
        m_conn = *static_cast<PGconn* const*>(handle.constData());
    if (!m_conn) throw EDatabaseError(QStringLiteral("无法连接数据库 %1").arg(settings.database));

    // Dates in and out as 'yyyy-MM-dd HH:mm:ss'; getdate() in the workstation's time.
    QString setup = QStringLiteral(
        "SET DateStyle = 'ISO, YMD'; SET client_encoding = 'UTF8'; "
        "SET standard_conforming_strings = on; SET client_min_messages = warning;");
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    if (!zone.isEmpty() && !zone.contains('\''))
        setup += QStringLiteral(" SET TimeZone = '%1';").arg(QString::fromLatin1(zone));
    // "x not in(select ...)" is hashed only when the planner expects the
    // sub-select to fit in work_mem; otherwise every row scans it again. The
    // windows compare against whole tables (half a million colour descriptions
    // need 16MB), so the session gets room for a few million rows. A server
    // configured with more keeps its own value.
    setup += QStringLiteral(
        " SELECT set_config('work_mem', '64MB', false)"
        " WHERE pg_size_bytes(current_setting('work_mem')) < pg_size_bytes('64MB');");
    try {
        executeScript(setup);
    } catch (const EDatabaseError&) {
        executeScript(QStringLiteral("SET DateStyle = 'ISO, YMD'; SET client_encoding = 'UTF8';"));
    }

    bool current = false;
    {
        Result version(PQexec(m_conn, "SELECT md_runtime_version()"));
        if (PQresultStatus(version.r) == PGRES_TUPLES_OK && PQntuples(version.r) == 1)
            current = QByteArray(PQgetvalue(version.r, 0, 0)).toInt() >= md::sql::kPgRuntimeVersion;
    }
    if (!current) {
        executeScript(
            QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1);").arg(kRuntimeLock) +
            md::sql::pgRuntimeScript() +
            QStringLiteral("CREATE OR REPLACE FUNCTION md_runtime_version() RETURNS integer "
                           "LANGUAGE sql IMMUTABLE AS 'SELECT %1'; COMMIT;")
                .arg(md::sql::kPgRuntimeVersion));
    }
}

PgBackend::~PgBackend() {
    m_statements.clear();
    m_conn = nullptr;
    closeQtConnection(m_connectionName);
}

PreparedStatement& PgBackend::prepare(const QString& sql) {
    return cachedStatement(m_statements, sql, kStatementCacheLimit,
                           [&] { return std::make_shared<Statement>(*this, sql); });
}

void PgBackend::executeScript(const QString& sql) {
    Result result(PQexec(m_conn, sql.toUtf8().constData()));
    if (PQresultStatus(result.r) != PGRES_COMMAND_OK &&
        PQresultStatus(result.r) != PGRES_TUPLES_OK) {
        // A failed script leaves no transaction half open.
        if (PQtransactionStatus(m_conn) == PQTRANS_INERROR &&
            sql.startsWith(QLatin1String("BEGIN")))
            PQclear(PQexec(m_conn, "ROLLBACK"));
        throwPgError(m_conn, result.r, sql.size() > 2000 ? QString() : sql);
    }
}

void PgBackend::begin() {
    executeScript(QStringLiteral("BEGIN"));
}
void PgBackend::commit() {
    executeScript(QStringLiteral("COMMIT"));
}
void PgBackend::rollback() {
    if (PQtransactionStatus(m_conn) != PQTRANS_IDLE) executeScript(QStringLiteral("ROLLBACK"));
}
void PgBackend::savepoint(const QString& name) {
    executeScript(QStringLiteral("SAVEPOINT ") + name);
}
void PgBackend::releaseSavepoint(const QString& name) {
    executeScript(QStringLiteral("RELEASE SAVEPOINT ") + name);
}
void PgBackend::rollbackToSavepoint(const QString& name) {
    executeScript(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name);
}

qint64 PgBackend::lastInsertId() {
    if (m_lastInsertId) return *m_lastInsertId;
    Result result(PQexec(m_conn, "SELECT lastval()"));
    if (PQresultStatus(result.r) != PGRES_TUPLES_OK || PQntuples(result.r) != 1) return 0;
    return QByteArray(PQgetvalue(result.r, 0, 0)).toLongLong();
}

PgBackend::ColumnType PgBackend::tableColumnType(unsigned tableOid, int column) {
    auto it = m_tableTypes.find(tableOid);
    if (it == m_tableTypes.end()) {
        QVector<ColumnType> types;
        const QByteArray sql =
            "SELECT a.attnum, format_type(a.atttypid, a.atttypmod), t.typname "
            "FROM pg_attribute a JOIN pg_type t ON t.oid = a.atttypid WHERE a.attrelid = " +
            QByteArray::number(tableOid) + " AND a.attnum > 0 ORDER BY a.attnum";
        Result result(PQexec(m_conn, sql.constData()));
        if (PQresultStatus(result.r) == PGRES_TUPLES_OK) {
            for (int row = 0; row < PQntuples(result.r); ++row) {
                const int attnum = QByteArray(PQgetvalue(result.r, row, 0)).toInt();
                if (types.size() < attnum) types.resize(attnum);
                types[attnum - 1] =
                    declaredTypeOf(textOf(result.r, row, 1), textOf(result.r, row, 2));
            }
        }
        it = m_tableTypes.insert(tableOid, types);
    }
    return column >= 1 && column <= it->size() ? it->at(column - 1) : ColumnType{};
}

}  // namespace md::data
