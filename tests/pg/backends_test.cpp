// PostgreSQL and ODBC beside SQLite: keys, copies between backends, the SQL
// Server path (through Debian's SQLite ODBC driver as a stand-in data source)
// and two workstations on one PostgreSQL database.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "backend.h"
#include "dbcopy.h"
#include "remoteudpdataset.h"
#include "serverdb.h"
#include "testdb.h"

using md::test::ScratchPgDatabase;
using md::test::TestDb;

namespace {

QVariant scalar(TRemoteUdpConnection& c, const QString& tsql) {
    ResultTable rows;
    c.OpenSQL(tsql, rows);
    return rows.rowCount ? rows.at(0, 0) : QVariant();
}

TEST(PgCopy, ASqliteDatabaseMovesWholeAndAFilledTargetIsRefused) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("company.db"));
    {
        TRemoteUdpConnection lite;
        md::server::openDatabase(lite, ConnectionSettings::sqlite(file), true);
        lite.ExecSQL(QStringLiteral(
            "insert into syslog(logindate,userno,fstate) values('2026-01-05','admin','进入')"));
        lite.ExecSQL(QStringLiteral(
            "insert into syslog(logindate,userno,fstate) values('2026-01-06','Admin','离开')"));
        lite.ExecSQL(QStringLiteral("delete from syslog where fstate='进入'"));
    }
    ScratchPgDatabase target;
    const md::server::CopyReport report =
        md::server::copyDatabase(ConnectionSettings::sqlite(file), target.settings());
    ASSERT_FALSE(report.tables.isEmpty());
    for (const auto& t : report.tables) EXPECT_EQ(t.sourceRows, t.targetRows) << qPrintable(t.name);

    TRemoteUdpConnection pg;
    md::server::openDatabase(pg, target.settings(), false);
    // Identity values kept, and new rows continue after them.
    EXPECT_EQ(scalar(pg, QStringLiteral("select fautoid from syslog where userno='ADMIN'")).toInt(),
              2);
    pg.ExecSQL(QStringLiteral("insert into syslog(logindate,fstate) values('2026-01-07','x')"));
    EXPECT_EQ(scalar(pg, QStringLiteral("select max(fautoid) from syslog")).toInt(), 3);
    // The copy hands out keys of its own.
    EXPECT_EQ(
        scalar(pg, QStringLiteral("select top 1 * from dbo.V_GetPassWord12")).toString().size(),
        12);

    try {
        md::server::copyDatabase(ConnectionSettings::sqlite(file), target.settings());
        FAIL() << "copied into a database that holds tables";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("不是空的"))) << qPrintable(e.message());
    }
    EXPECT_EQ(scalar(pg, QStringLiteral("select count(*) from syslog")).toInt(), 2);
}

// Rows SQLite held before it checked lengths and ranges do not fit the
// server: every one is reported with its table, key and reason, the rest is
// still tried, and the target is left as it was.
TEST(PgCopy, RowsTheServerRefusesAreAllReportedAndNothingIsCopied) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("old.db"));
    {
        TRemoteUdpConnection lite;
        md::server::openDatabase(lite, ConnectionSettings::sqlite(file), true);
        lite.backend().executeScript(QStringLiteral("DROP TRIGGER md_check_goods_insert"));
        lite.ExecSQL(QStringLiteral("insert into goods(goodsid,goodsname) values('G1','好')"));
        lite.ExecSQL(QStringLiteral("insert into goods(goodsid,goodsname) values('G2','%1')")
                         .arg(QString(51, QLatin1Char('x'))));
        lite.ExecSQL(QStringLiteral("insert into goods(goodsid,fsortbyint) values('G3',1e23)"));
        lite.ExecSQL(QStringLiteral("insert into goods(goodsid) values('G4')"));
    }
    ScratchPgDatabase target;
    try {
        md::server::copyDatabase(ConnectionSettings::sqlite(file), target.settings());
        FAIL() << "rows the server refuses were copied";
    } catch (const EDatabaseError& e) {
        const QStringList lines = e.message().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 3) << qPrintable(e.message());
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("有 2 行目标数据库不能接受")));
        EXPECT_TRUE(lines[1].startsWith(QStringLiteral("表 goods（goodsid=G2）：")))
            << qPrintable(lines[1]);
        EXPECT_TRUE(lines[2].startsWith(QStringLiteral("表 goods（goodsid=G3）：")))
            << qPrintable(lines[2]);
    }
    TRemoteUdpConnection pg;
    pg.Open(target.settings(), md::server::objects());
    EXPECT_TRUE(md::server::existingTables(pg).isEmpty());
}

TEST(PgCopy, TheCommandReportsAndRefuses) {
    const QString mdcopy = QCoreApplication::applicationDirPath() + QStringLiteral("/mdcopy");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c.db"));
    {
        TRemoteUdpConnection lite;
        md::server::openDatabase(lite, ConnectionSettings::sqlite(file), true);
    }
    ScratchPgDatabase target;
    const ConnectionSettings s = target.settings();
    const QString uri = QStringLiteral("postgresql:///") + s.database + QStringLiteral("?host=") +
                        QString::fromLatin1(QUrl::toPercentEncoding(s.host)) +
                        QStringLiteral("&port=") + QString::number(s.port) +
                        QStringLiteral("&user=") + s.user;
    QProcess p;
    p.start(mdcopy, {QStringLiteral("--from"), file, QStringLiteral("--to"), uri});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("核对一致")));
    p.start(mdcopy, {QStringLiteral("--from"), file, QStringLiteral("--to"), uri});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
}

// Two workstations open the same record; the second save is refused and its
// user keeps the edit, so nothing the first one saved is overwritten.
TEST(PgWorkstations, TheSecondSaveOfOneRecordIsRefusedAndKeepsItsChanges) {
    TestDb db;
    db.exec(QStringLiteral("insert into dt_ltd(fname_ch,tel1) values('雅韵服饰','0755-1')"));
    TRemoteUdpConnection other;
    md::server::openDatabase(other, db.settings(), false);

    TRemoteUdpDataSet first(QStringLiteral("first"), nullptr),
        second(QStringLiteral("second"), nullptr);
    for (auto [ds, c] : {std::pair{&first, &db.conn()}, std::pair{&second, &other}}) {
        ds->setSetupUdpParent(c);
        ds->SetSQL(QStringLiteral("select * from dt_ltd"));
        ds->Open();
        ds->Edit();
    }
    first.FieldByName(QStringLiteral("tel1")).SetAsString(QStringLiteral("0755-2"));
    first.Post();
    first.UpdateBatch();
    second.FieldByName(QStringLiteral("tel1")).SetAsString(QStringLiteral("0755-3"));
    second.Post();
    try {
        second.UpdateBatch();
        ADD_FAILURE() << "a lost update went through";
    } catch (const EConcurrencyError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("记录已被其他用户修改或删除，请刷新后重试。"));
    }
    EXPECT_TRUE(second.UpdatesPending());
    EXPECT_EQ(second.FieldByName(QStringLiteral("tel1")).AsString(), QStringLiteral("0755-3"));
    EXPECT_EQ(db.scalar(QStringLiteral("select tel1 from dt_ltd")).toString(),
              QStringLiteral("0755-2"));
}

// The SQL Server path, with SQLite's ODBC driver standing in for the server:
// texts go through unchanged, ":name" parameters become "?" in order.
class Odbc : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QFile::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so")))
            GTEST_SKIP() << "Debian's SQLite ODBC driver (libsqliteodbc) is not installed";
        settings.kind = ConnectionSettings::Kind::Odbc;
        settings.database =
            QStringLiteral("DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=") +
            dir.filePath(QStringLiteral("odbc.db"));
        auto objects = std::make_shared<md::data::ServerObjects>(*md::server::objects());
        auto catalog = std::make_shared<md::sql::Catalog>(*objects->catalog);
        catalog->load(QStringLiteral(
            "create table t (id int not null primary key, name varchar(20) null, qty int null)"));
        objects->catalog = std::move(catalog);
        connection.Open(settings, objects);
        connection.ExecSQL(QStringLiteral(
            "create table t (id int not null primary key, name varchar(20) null, qty int null)"));
    }
    QTemporaryDir dir;
    ConnectionSettings settings;
    TRemoteUdpConnection connection;
};

TEST_F(Odbc, StatementsParametersAndBatches) {
    EXPECT_EQ(connection.dialect(), md::sql::Dialect::SqlServer);
    const auto batch =
        connection.Translate(QStringLiteral("update t set id=:id, name=:name where id=:id"));
    EXPECT_EQ(batch->statements[0].sql, QStringLiteral("update t set id=?, name=? where id=?"));
    EXPECT_EQ(batch->statements[0].placeholderOrder, (QVector<int>{0, 1, 2}));

    ParamMap values{{QStringLiteral("id"), 1},
                    {QStringLiteral("name"), QStringLiteral("衬衫")},
                    {QStringLiteral("qty"), 5}};
    EXPECT_EQ(connection.ExecSQL(
                  QStringLiteral("insert into t(id,name,qty) values(:id,:name,:qty)"), &values),
              1);
    // A batch of lines is all or nothing.
    EXPECT_THROW(
        connection.ExecSQL(QStringLiteral(
            "insert into t(id,name) values(2,'a')\ninsert into t(id,name) values(1,'dup')")),
        EDatabaseError);
    EXPECT_EQ(scalar(connection, QStringLiteral("select count(*) from t")).toInt(), 1);
    connection.ExecSQL(QStringLiteral(
        "insert into t(id,name) values(2,'b')\r\nupdate t set qty=qty+1 where id=1"));
    ResultTable rows;
    ParamMap key{{QStringLiteral("id"), 1}};
    connection.OpenSQL(QStringLiteral("select name, qty from t where id=:id"), rows, &key);
    ASSERT_EQ(rows.rowCount, 1);
    EXPECT_EQ(rows.value(0, u"NAME").toString(), QStringLiteral("衬衫"));
    EXPECT_EQ(rows.value(0, u"qty").toInt(), 6);

    // A cached dataset saves through the same path.
    TRemoteUdpDataSet ds(QStringLiteral("t"), nullptr);
    ds.setSetupUdpParent(&connection);
    ds.SetSQL(QStringLiteral("select * from t order by id"));
    ds.Open();
    ds.Append();
    ds.FieldByName(QStringLiteral("id")).SetAsString(QStringLiteral("3"));
    ds.FieldByName(QStringLiteral("name")).SetAsString(QStringLiteral("c"));
    ds.Post();
    ds.First();
    ds.Edit();
    ds.FieldByName(QStringLiteral("name")).SetAsString(QStringLiteral("A"));
    ds.Post();
    ds.UpdateBatch();
    EXPECT_EQ(scalar(connection, QStringLiteral("select name from t where id=1")).toString(),
              QStringLiteral("A"));
    EXPECT_EQ(scalar(connection, QStringLiteral("select count(*) from t")).toInt(), 3);
}

TEST_F(Odbc, ABrokenKeyIsReportedWithItsColumnAndValue) {
    const ParamMap row{{QStringLiteral("id"), 7}, {QStringLiteral("name"), QStringLiteral("a")}};
    const QString insert = QStringLiteral("insert into t(id,name) values(:id,:name)");
    connection.ExecSQL(insert, &row);
    try {
        connection.ExecSQL(insert, &row);
        FAIL() << "a second row with the key went in";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.violation().kind, TConstraintViolation::Kind::Duplicate);
        EXPECT_EQ(error.violation().table, QStringLiteral("t"));
        EXPECT_EQ(error.violation().columns, QStringList{QStringLiteral("id")});
        EXPECT_EQ(error.violation().values, QStringList{QStringLiteral("7")});
        EXPECT_TRUE(error.statement().contains(QStringLiteral("insert into t")));
    }
}

}  // namespace
