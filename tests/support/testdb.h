#pragma once
// A fresh database with the whole server schema, opened on a connection. Each
// test gets its own: a SQLite file in a temporary folder, or, when
// MD_TEST_BACKEND=postgresql:<libpq connection text> (or =postgresql with the
// text in MD_TEST_PG), a PostgreSQL database made from a template that holds
// the schema (tests/pg/pgserver.sh starts a private server).
#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "remoteudpconnection.h"

namespace md::test {

// Shorthands for arranging and asserting database contents, on a test
// database's connection.
class DbShorthands {
  public:
    virtual ~DbShorthands() = default;
    virtual TRemoteUdpConnection& conn() = 0;

    qint64 exec(const QString& tsql);
    QVariant scalar(const QString& tsql);     // first column of the first row; invalid when no row
    int count(const QString& tableAndWhere);  // "select count(*) from " + tableAndWhere
    QStringList rows(const QString& tsql);    // every row of a query, columns joined by "|"
};

// A new list with one rights row for the group, the given right columns set.
void grantRights(DbShorthands& db, const QString& list, const QString& group,
                 const QStringList& rights);

class TestDb : public DbShorthands {
  public:
    TestDb();
    ~TestDb() override;

    TRemoteUdpConnection& conn() override { return *m_connection; }
    QString path() const {
        return m_path;
    }  // SQLite: the file; PostgreSQL: a postgresql:// address
    QString folder() const { return m_dir.path(); }
    // Settings that open another connection on the same database.
    ConnectionSettings settings() const { return m_settings; }
    bool isPostgres() const { return m_settings.kind == ConnectionSettings::Kind::PostgreSQL; }

  private:
    QTemporaryDir m_dir;
    QString m_path;
    ConnectionSettings m_settings;
    std::unique_ptr<TRemoteUdpConnection> m_connection;
};

// True when the tests run on PostgreSQL (MD_TEST_BACKEND=postgresql...).
bool testOnPostgres();
// The PostgreSQL server of the tests; throws when none is named, so that a
// PostgreSQL run without a server fails loudly.
ConnectionSettings testPostgresServer();
// A new, empty PostgreSQL database on the test server (dropped by the returned
// guard), for tests that make their own schema.
class ScratchPgDatabase {
  public:
    ScratchPgDatabase();
    ~ScratchPgDatabase();
    ConnectionSettings settings() const { return m_settings; }

  private:
    ConnectionSettings m_settings;
};

// A host program folder of the test's own, named by MASTERDATA_HOME while the
// object lives (the previous value comes back after).
class ProgramHome {
  public:
    ProgramHome();
    ~ProgramHome();
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes);
    // softconfig.ini with the given body, so the database loaders run.
    void writeSoftConfig(const QByteArray& body = "[config]\nfontsize=10\n") {
        writeFile(QStringLiteral("softconfig.ini"), body);
    }

  private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

// Path of a file under tests/ in the source tree.
QString testDataPath(const QString& relative);

}  // namespace md::test
