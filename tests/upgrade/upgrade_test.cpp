// Databases made by an older build, opened by this one: brought to the current
// schema in place with their rows, copied first (SQLite), refused when newer,
// rolled back whole when the upgrade fails. On SQLite, and on PostgreSQL with
// MD_TEST_BACKEND.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "backend.h"
#include "dbcopy.h"
#include "serverdb.h"
#include "testdb.h"

using md::server::SchemaTarget;
using md::server::UpgradeReport;
using md::server::UpgradeStep;
using md::test::ScratchPgDatabase;

namespace {

QString readSchemaV1() {
    QFile file(md::test::testDataPath(QStringLiteral("upgrade/schema_v1.sql")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Server objects whose catalog is the first build's schema.
std::shared_ptr<const md::data::ServerObjects> objectsV1() {
    auto objects = std::make_shared<md::data::ServerObjects>();
    objects->schemaScript = readSchemaV1();
    auto catalog = std::make_shared<md::sql::Catalog>();
    catalog->load(objects->schemaScript);
    objects->catalog = std::move(catalog);
    return objects;
}

QVariant scalar(TRemoteUdpConnection& c, const QString& tsql) {
    ResultTable rows;
    c.OpenSQL(tsql, rows);
    return rows.rowCount ? rows.at(0, 0) : QVariant();
}

// Whether the database takes the statement: old databases lack columns and views.
bool runs(TRemoteUdpConnection& c, const QString& tsql) {
    try {
        scalar(c, tsql);
        return true;
    } catch (const EDatabaseError&) {
        return false;
    }
}

bool indexExists(TRemoteUdpConnection& c, const QString& name) {
    const bool pg = c.dialect() == md::sql::Dialect::PostgreSQL;
    md::data::PreparedStatement& q = c.backend().prepare(
        pg ? QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname = $1")
           : QStringLiteral(
                 "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?1"));
    q.bind(0, name);
    ResultTable rows;
    q.execute(&rows);
    return rows.at(0, 0).toInt() == 1;
}

// A database of the first build with a few rows. It is made older still where
// that build already had the current shape, so that every kind of change is
// needed: a table, a view and an index are missing, two columns (one NOT NULL
// with a default) came later, and a view has an older body.
class OldDatabase : public ::testing::Test {
  protected:
    void SetUp() override { make(md::test::testOnPostgres()); }

    void make(bool postgres) {
        if (postgres) {
            m_scratch = std::make_unique<ScratchPgDatabase>();
            settings = m_scratch->settings();
        } else {
            file = dir.filePath(QStringLiteral("test.db"));
            settings = ConnectionSettings::sqlite(file);
        }
        TRemoteUdpConnection c;
        c.Open(settings, objectsV1());
        c.ExecSQL(readSchemaV1());
        for (const char* sql : {"ALTER TABLE dr_rightdetail DROP COLUMN b_unposted",
                                "ALTER TABLE goods DROP COLUMN fcheck"})
            c.backend().prepare(QString::fromLatin1(sql)).execute(nullptr);
        c.ExecSQL(QStringLiteral(
            "drop table barcode_size\ndrop view vgoodscolor1\ndrop index ix_goods_goodsno on "
            "goods\n"
            "drop view vgoodssize\n"
            "create view vgoodssize as select a.goodsid, b.size_name from goods a join ba_size b "
            "on a.size_class=b.size_class"));
        c.ExecSQL(QStringLiteral(
            "insert into ba_color(colorid,colorname_ch) values('C01','红色')\n"
            "insert into goods(goodsid,goodsname,size_class) values('G001','衬衫','S')\n"
            "insert into ba_size(size_class,size_name,displayindex) values('S','M',1)\n"
            "insert into dr_rightdetail(autoid,groupid,b_add) values(1,'admin',1)"));
        if (postgres) return;
        // The first build's files had no checks of lengths and ranges, and
        // their text indexes were built in the order of SQLite's own NOCASE.
        const ResultTable triggers = [&c] {
            ResultTable rows;
            c.backend()
                .prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type='trigger'"))
                .execute(&rows);
            return rows;
        }();
        for (int i = 0; i < triggers.rowCount; ++i)
            c.backend().executeScript(
                QStringLiteral("DROP TRIGGER \"%1\"").arg(triggers.at(i, 0).toString()));
    }

    // Rows as the first build stored them: through SQLite's own NOCASE, unchecked.
    void addRowsAsTheFirstBuild() {
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), file);
            raw.setDatabaseName(file);
            ASSERT_TRUE(raw.open());
            for (const char* code : {"张三", "阿姨", "北京", "Zebra", "中心", "apple", "T01 "})
                ASSERT_TRUE(QSqlQuery(raw).exec(
                    QStringLiteral("insert into goods(goodsid,goodsname) values('%1','%2')")
                        .arg(QString::fromUtf8(code), QString(60, QLatin1Char('x')))));
            raw.close();
        }
        QSqlDatabase::removeDatabase(file);
    }

    // A connection that does not upgrade: for looking at the database as it is.
    void openAsIs(TRemoteUdpConnection& c) { c.Open(settings, md::server::objects()); }

    QStringList backups() const {
        return QDir(dir.path()).entryList({QStringLiteral("*.bak")}, QDir::Files);
    }

    QTemporaryDir dir;
    QString file;  // SQLite
    ConnectionSettings settings;

  private:
    std::unique_ptr<ScratchPgDatabase> m_scratch;
};

TEST_F(OldDatabase, IsBroughtToTheSchemaKeepingItsRowsOnce) {
    TRemoteUdpConnection c;
    const UpgradeReport report = md::server::openDatabase(c, settings, false);
    const SchemaTarget& current = md::server::currentSchema();
    EXPECT_EQ(report.outcome, UpgradeReport::Outcome::Upgraded);
    EXPECT_EQ(report.fromVersion, 1);
    EXPECT_EQ(report.toVersion, current.version);

    EXPECT_EQ(scalar(c, QStringLiteral("select colorname_ch from ba_color where colorid='C01'"))
                  .toString(),
              QStringLiteral("红色"));
    EXPECT_EQ(scalar(c, QStringLiteral("select goodsname from goods")).toString(),
              QStringLiteral("衬衫"));
    // Added columns: the existing rows hold their defaults.
    EXPECT_EQ(scalar(c, QStringLiteral("select b_add+b_unposted*10 from dr_rightdetail")).toInt(),
              1);
    EXPECT_EQ(scalar(c, QStringLiteral("select count(*) from goods where fcheck=0")).toInt(), 1);
    // The missing table, view and index, and the view's current body.
    c.ExecSQL(QStringLiteral("insert into barcode_size(fsize,fbarcodesize) values('M','02')"));
    EXPECT_TRUE(runs(c, QStringLiteral("select count(*) from vgoodscolor1")));
    EXPECT_TRUE(indexExists(c, QStringLiteral("ix_goods_goodsno")));
    EXPECT_EQ(scalar(c, QStringLiteral("select displayindex from vgoodssize where goodsid='G001'"))
                  .toInt(),
              1);
    EXPECT_EQ(scalar(c, QStringLiteral("select version from md_schemaversion")).toInt(),
              current.version);
    EXPECT_EQ(scalar(c, QStringLiteral("select fingerprint from md_schemaversion")).toString(),
              current.fingerprint);

    // Opened again, it is found current: no T-SQL runs, no copy is made.
    TRemoteUdpConnection again;
    EXPECT_EQ(md::server::openDatabase(again, settings, false).outcome,
              UpgradeReport::Outcome::Current);
    EXPECT_TRUE(again.log().entries().isEmpty());
    if (file.isEmpty()) {
        EXPECT_TRUE(report.backupFile.isEmpty());  // PostgreSQL keeps no copy
        return;
    }
    EXPECT_EQ(backups().size(), 1);
    // The copy beside the file is the database before the upgrade.
    const QFileInfo backup(report.backupFile);
    EXPECT_EQ(backup.absolutePath(), QFileInfo(file).absolutePath());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^test\\.db\\.v1-\\d{8}-\\d{6}\\.bak$"))
                    .match(backup.fileName())
                    .hasMatch())
        << qPrintable(backup.fileName());
    TRemoteUdpConnection old;
    old.Open(ConnectionSettings::sqlite(report.backupFile), md::server::objects());
    EXPECT_FALSE(runs(old, QStringLiteral("select count(*) from md_schemaversion")));
    EXPECT_EQ(scalar(old, QStringLiteral("select colorname_ch from ba_color")).toString(),
              QStringLiteral("红色"));
}

// What SQL Server would refuse is refused on an upgraded SQLite file too
// (the triggers come from the schema's definitions), its text indexes follow
// the database's collation, and rows stored before keep their values. Goods
// made without a GoodsNo get one.
TEST_F(OldDatabase, OldFilesGetTheChecksTheCollationAndGoodsNumbers) {
    if (!file.isEmpty()) addRowsAsTheFirstBuild();
    TRemoteUdpConnection c;
    md::server::openDatabase(c, settings, false);
    EXPECT_EQ(scalar(c, QStringLiteral("select count(*) from goods where len(goodsno)=12")).toInt(),
              scalar(c, QStringLiteral("select count(*) from goods")).toInt());
    if (file.isEmpty()) return;
    EXPECT_EQ(scalar(c, QStringLiteral("select count(*) from goods where goodsid in "
                                       "('北京','ZEBRA','t01','中心','阿姨')"))
                  .toInt(),
              5);
    ResultTable check;
    c.backend().prepare(QStringLiteral("PRAGMA integrity_check")).execute(&check);
    EXPECT_EQ(check.at(0, 0).toString(), QStringLiteral("ok"));
    try {
        c.ExecSQL(QStringLiteral("update goods set goodsname='%1' where goodsid='G001'")
                      .arg(QString(51, QChar(0x957F))));
        ADD_FAILURE() << "a name longer than its column went in";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(
            e.message().startsWith(QStringLiteral("表 goods 的字段 goodsname 最多存 50 个字符。")))
            << qPrintable(e.message());
    }
    // A row stored before the checks is refused only in the field that does not fit.
    c.ExecSQL(QStringLiteral("update goods set size_class='M' where goodsid='北京'"));
    EXPECT_EQ(
        scalar(c, QStringLiteral("select len(goodsname) from goods where goodsid='北京'")).toInt(),
        60);
}

// A fingerprint that differs starts the comparison even when the version is
// the same (a schema change that forgot its step).
TEST_F(OldDatabase, AChangedScriptUpgradesWithoutANewVersion) {
    {
        TRemoteUdpConnection c;
        md::server::openDatabase(c, settings, false);
        c.ExecSQL(
            QStringLiteral("update md_schemaversion set fingerprint='earlier'\n"
                           "drop view vgoodscolor1"));
    }
    TRemoteUdpConnection c;
    const UpgradeReport report = md::server::openDatabase(c, settings, false);
    EXPECT_EQ(report.outcome, UpgradeReport::Outcome::Upgraded);
    EXPECT_TRUE(runs(c, QStringLiteral("select count(*) from vgoodscolor1")));
    EXPECT_EQ(scalar(c, QStringLiteral("select fingerprint from md_schemaversion")).toString(),
              md::server::currentSchema().fingerprint);
}

TEST_F(OldDatabase, ANewerDatabaseIsRefusedAndLeftUntouched) {
    const int newer = md::server::currentSchema().version + 1;
    {
        TRemoteUdpConnection c;
        md::server::openDatabase(c, settings, false);
        c.ExecSQL(QStringLiteral("update md_schemaversion set version=%1\ndrop view vgoodscolor1")
                      .arg(newer));
    }
    TRemoteUdpConnection c;
    try {
        md::server::openDatabase(c, settings, false);
        FAIL() << "a newer database was opened";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("新"))) << qPrintable(e.message());
        EXPECT_TRUE(e.message().contains(QStringLiteral("没有任何改动")))
            << qPrintable(e.message());
    }
    EXPECT_FALSE(c.Connected());
    TRemoteUdpConnection look;
    openAsIs(look);
    EXPECT_EQ(scalar(look, QStringLiteral("select version from md_schemaversion")).toInt(), newer);
    EXPECT_FALSE(runs(look, QStringLiteral("select count(*) from vgoodscolor1")));
    EXPECT_EQ(backups().size(), file.isEmpty() ? 0 : 1);
}

// A step that fails after the structure has changed: nothing of the upgrade
// stays, the views it dropped are back, and no copy is left behind.
TEST_F(OldDatabase, AFailedUpgradeIsRolledBackWhole) {
    SchemaTarget failing = md::server::currentSchema();
    failing.version += 1;
    failing.steps.push_back({failing.version, UpgradeStep::When::AfterStructure,
                             "insert into ba_color(colorid) values(null)", nullptr});
    TRemoteUdpConnection c;
    openAsIs(c);
    try {
        md::server::upgradeSchema(c, failing);
        FAIL() << "the failing step did not stop the upgrade";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("所有改动已撤销")))
            << qPrintable(e.message());
    }
    EXPECT_FALSE(c.InTransaction());
    EXPECT_FALSE(runs(c, QStringLiteral("select count(*) from md_schemaversion")));
    EXPECT_FALSE(runs(c, QStringLiteral("select count(*) from barcode_size")));
    EXPECT_FALSE(runs(c, QStringLiteral("select b_unposted from dr_rightdetail")));
    EXPECT_FALSE(runs(c, QStringLiteral("select displayindex from vgoodssize")));
    EXPECT_TRUE(runs(c, QStringLiteral("select count(*) from vgoodscolor")));
    EXPECT_FALSE(indexExists(c, QStringLiteral("ix_goods_goodsno")));
    EXPECT_TRUE(backups().isEmpty());
}

// Existing rows would have no value for it: refused before anything is done.
TEST_F(OldDatabase, ANotNullColumnWithoutDefaultIsRefused) {
    SchemaTarget target = md::server::currentSchema();
    const QString key = QStringLiteral("    colorid varchar(30) not null primary key,\n");
    ASSERT_TRUE(target.script.contains(key));
    target.script.replace(key, key + QStringLiteral("    fsort int not null,\n"));
    TRemoteUdpConnection c;
    openAsIs(c);
    try {
        md::server::upgradeSchema(c, target);
        FAIL() << "a NOT NULL column without default was added to existing rows";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("fsort"))) << qPrintable(e.message());
    }
    EXPECT_FALSE(runs(c, QStringLiteral("select count(*) from md_schemaversion")));
}

// Numbered steps run once: only those above the version the database records.
TEST_F(OldDatabase, OnlyTheStepsAboveTheRecordedVersionRun) {
    {
        TRemoteUdpConnection c;
        md::server::openDatabase(c, settings, false);
    }
    SchemaTarget target = md::server::currentSchema();
    const int recorded = target.version;
    target.version += 2;
    target.steps.push_back({recorded, UpgradeStep::When::AfterStructure,
                            "insert into ba_color(colorid) values('OLD')", nullptr});
    target.steps.push_back({recorded + 1, UpgradeStep::When::BeforeStructure,
                            "insert into ba_color(colorid) values('NEW1')", nullptr});
    target.steps.push_back({recorded + 2, UpgradeStep::When::AfterStructure,
                            "insert into ba_color(colorid) values('NEW2')", nullptr});
    TRemoteUdpConnection c;
    openAsIs(c);
    EXPECT_EQ(md::server::upgradeSchema(c, target).outcome, UpgradeReport::Outcome::Upgraded);
    EXPECT_EQ(scalar(c, QStringLiteral("select count(*) from ba_color where colorid like 'NEW%'"))
                  .toInt(),
              2);
    EXPECT_EQ(
        scalar(c, QStringLiteral("select count(*) from ba_color where colorid='OLD'")).toInt(), 0);
    EXPECT_EQ(md::server::upgradeSchema(c, target).outcome, UpgradeReport::Outcome::Current);
}

// The SQL Server path through Debian's SQLite ODBC driver, which has no
// INFORMATION_SCHEMA: the upgrade is skipped with a note, the data untouched.
TEST_F(OldDatabase, OdbcWithoutInformationSchemaSkipsTheUpgrade) {
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFile::exists(driver)) GTEST_SKIP() << "libsqliteodbc is not installed";
    if (file.isEmpty()) make(false);
    ConnectionSettings odbc;
    odbc.kind = ConnectionSettings::Kind::Odbc;
    odbc.database = QStringLiteral("DRIVER=%1;Database=%2").arg(driver, file);
    TRemoteUdpConnection c;
    const UpgradeReport report = md::server::openDatabase(c, odbc, false);
    EXPECT_EQ(report.outcome, UpgradeReport::Outcome::Skipped);
    EXPECT_TRUE(report.note.contains(QStringLiteral("INFORMATION_SCHEMA")))
        << qPrintable(report.note);
    EXPECT_EQ(scalar(c, QStringLiteral("select colorname_ch from ba_color")).toString(),
              QStringLiteral("红色"));
    EXPECT_FALSE(runs(c, QStringLiteral("select count(*) from md_schemaversion")));
}

// mdcopy: the old SQLite source is upgraded as it is opened, and the copy on
// PostgreSQL records the current version.
TEST_F(OldDatabase, AnOldSqliteDatabaseCopiesToPostgresAtTheCurrentVersion) {
    if (!md::test::testOnPostgres()) GTEST_SKIP() << "needs the PostgreSQL test server";
    make(false);
    ScratchPgDatabase target;
    md::server::copyDatabase(settings, target.settings());
    EXPECT_EQ(backups().size(), 1);
    TRemoteUdpConnection pg;
    EXPECT_EQ(md::server::openDatabase(pg, target.settings(), false).outcome,
              UpgradeReport::Outcome::Current);
    EXPECT_EQ(scalar(pg, QStringLiteral("select colorname_ch from ba_color")).toString(),
              QStringLiteral("红色"));
}

}  // namespace
