#include "sqlitebackend.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QStringEncoder>

#include "errors.h"
#include "sqlitekeys.h"
#include "tsql/sqliteruntime.h"

namespace md::data {

namespace {

constexpr int kStatementCacheLimit = 256;

QString friendlyMessage(int code, const QString& raw) {
    // The messages users meet most often, said plainly; the engine's text follows.
    if (raw.startsWith(QLatin1String("UNIQUE constraint failed")))
        return QStringLiteral("不能插入重复的数据：%1").arg(raw.mid(raw.indexOf(':') + 2));
    if (raw.startsWith(QLatin1String("NOT NULL constraint failed")))
        return QStringLiteral("不能将空值插入列 %1。").arg(raw.mid(raw.indexOf(':') + 2));
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return QStringLiteral("数据库正被其他用户使用，请稍后再试。(%1)").arg(raw);
    return raw;
}

// "UNIQUE constraint failed: t.a, t.b": the table and its columns.
TConstraintViolation violationOf(const QString& raw) {
    TConstraintViolation violation;
    if (raw.startsWith(QLatin1String("UNIQUE constraint failed")))
        violation.kind = TConstraintViolation::Kind::Duplicate;
    else if (raw.startsWith(QLatin1String("NOT NULL constraint failed")))
        violation.kind = TConstraintViolation::Kind::NotNull;
    else
        return violation;
    for (const QString& part : raw.mid(raw.indexOf(QLatin1Char(':')) + 1).split(QLatin1Char(','))) {
        const QString name = part.trimmed();
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot > 0) violation.table = name.left(dot);
        violation.columns << name.mid(dot + 1);
    }
    return violation;
}

// A new database file is readable by its owner only: it holds the password
// hashes and the company's data. SQLite gives its journal and WAL files the
// permissions of the database file.
void createPrivately(const QString& file) {
    if (file.isEmpty() || file == QLatin1String(":memory:") ||
        file.startsWith(QLatin1String("file:")) || QFile::exists(file))
        return;
    QFile database(file);
    if (database.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                      QFile::ReadOwner | QFile::WriteOwner))
        database.close();  // an empty file is an empty database
}

}  // namespace

void throwSqliteError(sqlite3* db, const QString& context) {
    const int code = sqlite3_extended_errcode(db) & 0xff;
    const QString raw = QString::fromUtf8(sqlite3_errmsg(db));
    QString message = friendlyMessage(code, raw);
    if (!context.isEmpty()) message += QStringLiteral("\n") + context;
    EDatabaseError error(message);
    error.setStatement(context);
    error.violation() = violationOf(raw);
    throw error;
}

class SqliteBackend::Statement : public PreparedStatement {
  public:
    Statement(sqlite3* db, const QString& sql) : m_db(db), m_sql(sql) {
        const QByteArray utf8 = sql.toUtf8();
        const char* tail = nullptr;
        if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                               &m_stmt, &tail) != SQLITE_OK)
            throwSqliteError(db, sql);
        if (!m_stmt) throw EDatabaseError(QStringLiteral("空的 SQL 语句。"));
        m_columnCount = sqlite3_column_count(m_stmt);
    }
    ~Statement() override { sqlite3_finalize(m_stmt); }

    void bind(int index, const QVariant& value) override {
        const int i = index + 1;
        int rc;
        if (!value.isValid() || value.isNull()) {
            rc = sqlite3_bind_null(m_stmt, i);
        } else {
            switch (value.metaType().id()) {
                case QMetaType::Bool:
                    rc = sqlite3_bind_int(m_stmt, i, value.toBool() ? 1 : 0);
                    break;
                case QMetaType::Int:
                case QMetaType::UInt:
                case QMetaType::LongLong:
                case QMetaType::ULongLong:
                case QMetaType::Short:
                case QMetaType::UShort:
                case QMetaType::Long:
                    rc = sqlite3_bind_int64(m_stmt, i, value.toLongLong());
                    break;
                case QMetaType::Double:
                case QMetaType::Float:
                    rc = sqlite3_bind_double(m_stmt, i, value.toDouble());
                    break;
                case QMetaType::QByteArray: {
                    const QByteArray bytes = value.toByteArray();
                    rc = sqlite3_bind_blob64(m_stmt, i, bytes.constData(),
                                             sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
                    break;
                }
                case QMetaType::QDate:
                    rc = bindText(i, value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
                    break;
                case QMetaType::QDateTime:
                    rc = bindText(
                        i, value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
                    break;
                case QMetaType::QTime:
                    rc = bindText(i, value.toTime().toString(QStringLiteral("HH:mm:ss")));
                    break;
                default:
                    rc = bindText(i, value.toString());
            }
        }
        if (rc != SQLITE_OK) throwSqliteError(m_db, m_sql);
    }

    qint64 execute(RowSink* sink) override {
        struct Reset {
            sqlite3_stmt* s;
            ~Reset() {
                sqlite3_reset(s);
                sqlite3_clear_bindings(s);
            }
        } reset{m_stmt};

        if (sink) sink->setColumns(columns());
        for (;;) {
            const int rc = sqlite3_step(m_stmt);
            if (rc == SQLITE_DONE) break;
            if (rc != SQLITE_ROW) throwSqliteError(m_db, m_sql);
            if (sink) readRow(sink->appendRow());
        }
        return sqlite3_stmt_readonly(m_stmt) ? 0 : sqlite3_changes64(m_db);
    }

  private:
    // Text is encoded into a buffer kept per parameter and bound without a copy,
    // so a dataset sending a million rows allocates nothing per value.
    int bindText(int i, const QString& text) {
        if (m_textBuffers.size() < std::size_t(i)) m_textBuffers.resize(std::size_t(i));
        QByteArray& buffer = m_textBuffers[std::size_t(i - 1)];
        if (buffer.size() < text.size() * 3 + 1) buffer.resize(text.size() * 3 + 1);
        QStringEncoder encoder(QStringEncoder::Utf8);
        const char* end = encoder.appendToBuffer(buffer.data(), text);
        return sqlite3_bind_text64(m_stmt, i, buffer.constData(),
                                   sqlite3_uint64(end - buffer.constData()), SQLITE_STATIC,
                                   SQLITE_UTF8);
    }

    QVector<ColumnMeta> columns() {
        if (m_columns.size() != m_columnCount) {
            m_columns.resize(m_columnCount);
            for (int c = 0; c < m_columnCount; ++c) {
                ColumnMeta& meta = m_columns[c];
                meta.name = QString::fromUtf8(sqlite3_column_name(m_stmt, c));
                if (const char* decl = sqlite3_column_decltype(m_stmt, c)) {
                    meta.declaredType = QString::fromUtf8(decl);
                    meta.type = md::sql::sqlTypeFromName(meta.declaredType);
                }
            }
        }
        return m_columns;
    }

    void readRow(QVariant* out) {
        for (int c = 0; c < m_columnCount; ++c) {
            switch (sqlite3_column_type(m_stmt, c)) {
                case SQLITE_INTEGER:
                    out[c] = QVariant(qlonglong(sqlite3_column_int64(m_stmt, c)));
                    break;
                case SQLITE_FLOAT:
                    out[c] = QVariant(sqlite3_column_double(m_stmt, c));
                    break;
                case SQLITE_TEXT: {
                    const char* text =
                        reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
                    out[c] = QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, c)));
                    break;
                }
                case SQLITE_BLOB: {
                    const char* blob = static_cast<const char*>(sqlite3_column_blob(m_stmt, c));
                    out[c] = QVariant(QByteArray(blob, sqlite3_column_bytes(m_stmt, c)));
                    break;
                }
                default:
                    out[c] = QVariant();
            }
        }
    }

    sqlite3* m_db;
    QString m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    int m_columnCount = 0;
    QVector<ColumnMeta> m_columns;
    std::vector<QByteArray> m_textBuffers;
};

SqliteBackend::SqliteBackend(const QString& connectionName, const QString& file)
    : m_connectionName(connectionName), m_file(file) {
    createPrivately(file);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db.open())
        throw EDatabaseError(
            QStringLiteral("无法打开数据库 %1：%2").arg(file, db.lastError().text()));
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_db = *static_cast<sqlite3* const*>(handle.constData());
    if (!m_db) throw EDatabaseError(QStringLiteral("无法打开数据库 %1").arg(file));

    // WAL with full sync: two programs may share the file, and a committed save
    // survives a power cut.
    executeScript(QStringLiteral(
        "pragma journal_mode=WAL;pragma synchronous=FULL;pragma busy_timeout=10000;"));
    md::sql::registerSqliteRuntime(m_db);
    registerSqliteKeyFunctions(m_db);
}

SqliteBackend::~SqliteBackend() {
    m_statements.clear();
    closeQtConnection(m_connectionName);
}

PreparedStatement& SqliteBackend::prepare(const QString& sql) {
    return cachedStatement(m_statements, sql, kStatementCacheLimit,
                           [&] { return std::make_shared<Statement>(m_db, sql); });
}

void SqliteBackend::executeScript(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        sqlite3_free(error);
        throwSqliteError(m_db, sql);
    }
}

// Immediate: a writer takes the lock at the start, so two programs never both
// hold a read lock and then fail to upgrade.
void SqliteBackend::begin() {
    executeScript(QStringLiteral("begin immediate"));
}
void SqliteBackend::commit() {
    executeScript(QStringLiteral("commit"));
}
void SqliteBackend::rollback() {
    if (!sqlite3_get_autocommit(m_db)) executeScript(QStringLiteral("rollback"));
}
void SqliteBackend::savepoint(const QString& name) {
    executeScript(QStringLiteral("savepoint ") + name);
}
void SqliteBackend::releaseSavepoint(const QString& name) {
    executeScript(QStringLiteral("release savepoint ") + name);
}
void SqliteBackend::rollbackToSavepoint(const QString& name) {
    executeScript(QStringLiteral("rollback to savepoint ") + name);
}
void SqliteBackend::copyTo(const QString& file) {
    // SQLite's backup refuses a source connection that holds a write
    // transaction: the committed state is read through a connection of its own.
    sqlite3* source = nullptr;
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(m_file.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(source, 10000);
        createPrivately(file);
        rc = sqlite3_open_v2(file.toUtf8().constData(), &copy,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    QString reason;
    if (rc == SQLITE_OK) {
        if (sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main")) {
            sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
        } else {
            rc = sqlite3_errcode(copy);
        }
        if (rc != SQLITE_OK) reason = QString::fromUtf8(sqlite3_errmsg(copy));
    } else {
        reason = QString::fromUtf8(sqlite3_errstr(rc));
    }
    sqlite3_close(copy);
    sqlite3_close(source);
    if (rc != SQLITE_OK)
        throw EDatabaseError(QStringLiteral("无法把数据库复制到 %1：%2").arg(file, reason));
}

qint64 SqliteBackend::lastInsertId() {
    return sqlite3_last_insert_rowid(m_db);
}

}  // namespace md::data
