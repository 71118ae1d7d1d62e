#include "testdb.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>
#include <mutex>

#include "pgbackend.h"
#include "serverdb.h"
#include "tsql/pgruntime.h"

namespace md::test {

namespace {

// One maintenance connection per test program, to the server's "postgres" database.
PGconn* adminConnection() {
    static PGconn* conn = nullptr;
    if (conn && PQstatus(conn) == CONNECTION_OK) return conn;
    ConnectionSettings server = testPostgresServer();
    server.database = QStringLiteral("postgres");
    conn = PQconnectdb(md::data::pgConnectionString(server).toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK)
        throw EDatabaseError(QStringLiteral("PostgreSQL test server unreachable: ") +
                             QString::fromUtf8(PQerrorMessage(conn)));
    return conn;
}

void admin(const QString& sql) {
    PGconn* conn = adminConnection();
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    const QString error = QString::fromUtf8(PQerrorMessage(conn));
    PQclear(r);
    if (!ok) throw EDatabaseError(error + QStringLiteral("\n") + sql);
}

bool databaseExists(const QString& name) {
    PGconn* conn = adminConnection();
    const QByteArray n = name.toUtf8();
    const char* values[] = {n.constData()};
    PGresult* r = PQexecParams(conn, "SELECT 1 FROM pg_database WHERE datname = $1", 1, nullptr,
                               values, nullptr, nullptr, 0);
    const bool exists = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1;
    PQclear(r);
    return exists;
}

// The template holds the schema of this build: its name changes with the schema.
QString templateName() {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(md::server::schemaScript().toUtf8());
    hash.addData(QByteArray::number(md::sql::kPgRuntimeVersion));
    return QStringLiteral("md_tpl_") + QString::fromLatin1(hash.result().toHex().left(12));
}

QString ensureTemplate() {
    static QString name;
    static std::once_flag once;
    std::call_once(once, [] {
        const QString tpl = templateName();
        // Several test programs may start at once: one builds, the others wait.
        admin(QStringLiteral("SELECT pg_advisory_lock(7340031)"));
        try {
            if (!databaseExists(tpl)) {
                const QString building = tpl + QStringLiteral("_new");
                admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(building));
                admin(QStringLiteral("CREATE DATABASE %1").arg(building));
                {
                    ConnectionSettings settings = testPostgresServer();
                    settings.database = building;
                    TRemoteUdpConnection connection;
                    md::server::openDatabase(connection, settings, /*create=*/true);
                }
                admin(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(building, tpl));
            }
        } catch (...) {
            admin(QStringLiteral("SELECT pg_advisory_unlock(7340031)"));
            throw;
        }
        admin(QStringLiteral("SELECT pg_advisory_unlock(7340031)"));
        name = tpl;
    });
    if (name.isEmpty())
        throw EDatabaseError(QStringLiteral("PostgreSQL template database could not be built"));
    return name;
}

// "postgresql:///db?host=...": what the programs take for --db.
QString pgUri(const ConnectionSettings& s) {
    QUrlQuery query;
    if (!s.host.isEmpty())
        query.addQueryItem(QStringLiteral("host"),
                           QString::fromLatin1(QUrl::toPercentEncoding(s.host)));
    if (s.port > 0) query.addQueryItem(QStringLiteral("port"), QString::number(s.port));
    if (!s.user.isEmpty())
        query.addQueryItem(QStringLiteral("user"),
                           QString::fromLatin1(QUrl::toPercentEncoding(s.user)));
    return QStringLiteral("postgresql:///") + s.database + QLatin1Char('?') +
           query.toString(QUrl::FullyEncoded);
}

QString freshDatabaseName() {
    static int counter = 0;
    return QStringLiteral("md_t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

}  // namespace

bool testOnPostgres() {
    return qEnvironmentVariable("MD_TEST_BACKEND")
        .startsWith(QLatin1String("postgresql"), Qt::CaseInsensitive);
}

ConnectionSettings testPostgresServer() {
    // "postgresql:<connection text>" names the server in the one variable;
    // otherwise MD_TEST_PG does.
    const QString backend = qEnvironmentVariable("MD_TEST_BACKEND");
    const qsizetype colon = backend.indexOf(QLatin1Char(':'));
    const QString info = colon > 0 ? backend.mid(colon + 1) : qEnvironmentVariable("MD_TEST_PG");
    if (info.isEmpty())
        throw EDatabaseError(
            QStringLiteral("MD_TEST_PG is not set: no PostgreSQL server for the tests"));
    return ConnectionSettings::postgres(info);
}

ScratchPgDatabase::ScratchPgDatabase() {
    m_settings = testPostgresServer();
    m_settings.database = freshDatabaseName();
    admin(QStringLiteral("CREATE DATABASE %1").arg(m_settings.database));
}

ScratchPgDatabase::~ScratchPgDatabase() {
    try {
        admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
    } catch (const EDatabaseError&) {
    }
}

TestDb::TestDb() {
    m_connection = std::make_unique<TRemoteUdpConnection>();
    if (testOnPostgres()) {
        const QString tpl = ensureTemplate();
        m_settings = testPostgresServer();
        m_settings.database = freshDatabaseName();
        m_path = pgUri(m_settings);
        admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY")
                  .arg(m_settings.database, tpl));
        md::server::openDatabase(*m_connection, m_settings, /*create=*/false);
        return;
    }
    m_path = m_dir.filePath(QStringLiteral("test.db"));
    m_settings = ConnectionSettings::sqlite(m_path);
    md::server::openDatabase(*m_connection, m_settings, /*create=*/true);
}

TestDb::~TestDb() {
    m_connection.reset();
    if (isPostgres()) {
        try {
            admin(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
        } catch (const EDatabaseError&) {
        }
    }
}

qint64 DbShorthands::exec(const QString& tsql) {
    return conn().ExecSQL(tsql);
}

QVariant DbShorthands::scalar(const QString& tsql) {
    ResultTable rows;
    conn().OpenSQL(tsql, rows);
    return rows.rowCount > 0 && !rows.columns.isEmpty() ? rows.at(0, 0) : QVariant();
}

int DbShorthands::count(const QString& tableAndWhere) {
    return scalar(QStringLiteral("select count(*) from ") + tableAndWhere).toInt();
}

QStringList DbShorthands::rows(const QString& tsql) {
    ResultTable result;
    conn().OpenSQL(tsql, result);
    QStringList out;
    for (int r = 0; r < result.rowCount; ++r) {
        QStringList cells;
        for (int c = 0; c < result.columns.size(); ++c) cells << result.at(r, c).toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

void grantRights(DbShorthands& db, const QString& list, const QString& group,
                 const QStringList& rights) {
    const int autoid =
        db.scalar(QStringLiteral("select isnull(max(autoid),0)+1 from dr_right")).toInt();
    db.exec(QStringLiteral("insert into dr_right(autoid,listname) values(%1,'%2')")
                .arg(autoid)
                .arg(list));
    QString columns = QStringLiteral("autoid,groupid");
    QString values = QStringLiteral("%1,'%2'").arg(autoid).arg(group);
    for (const QString& right : rights) {
        columns += QLatin1Char(',') + right;
        values += QStringLiteral(",1");
    }
    db.exec(QStringLiteral("insert into dr_rightdetail(%1) values(%2)").arg(columns, values));
}

ProgramHome::ProgramHome() : m_previous(qgetenv("MASTERDATA_HOME")) {
    qputenv("MASTERDATA_HOME", m_dir.path().toLocal8Bit());
}

ProgramHome::~ProgramHome() {
    if (m_previous.isNull())
        qunsetenv("MASTERDATA_HOME");
    else
        qputenv("MASTERDATA_HOME", m_previous);
}

void ProgramHome::writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(m_dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString testDataPath(const QString& relative) {
    return QStringLiteral(MD_TEST_DATA_DIR "/") + relative;
}

}  // namespace md::test
