// The connection: transactions and units of work, batches, the statement log,
// procedure calls and the key views.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "procedures.h"
#include "serverdb.h"
#include "testdb.h"

using md::test::TestDb;

namespace {

// A procedure that returns its arguments as one row and writes one log row, so
// tests can see both the dispatch and that its own statements are not logged.
void echoProcedure(md::data::ProcedureCall& call) {
    call.connection().ExecSQL(QStringLiteral("insert into syslog(fstate) values('echo')"));
    if (!call.sink()) return;
    QVector<ColumnMeta> columns;
    for (int i = 0; i < call.args().size(); ++i) {
        ColumnMeta column;
        column.name = QStringLiteral("a%1").arg(i + 1);
        columns.append(column);
    }
    call.sink()->setColumns(columns);
    QVariant* row = call.sink()->appendRow();
    for (int i = 0; i < call.args().size(); ++i) row[i] = call.args()[i];
}
const md::server::RegisterProcedure registerEcho("md_test_echo", &echoProcedure);

}  // namespace

TEST(Connection, NestedTransactionsCommitOnlyAtTheOutermost) {
    TestDb db;
    auto& c = db.conn();
    c.BeginTrans();
    c.BeginTrans();
    db.exec("insert into config([id],mode) values(1,1)");
    c.CommitTrans();
    EXPECT_TRUE(c.InTransaction());
    c.RollbackTrans();  // rolls back the whole transaction, inner commit included
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(db.count("config"), 0);

    c.BeginTrans();
    db.exec("insert into config([id],mode) values(2,1)");
    c.CommitTrans();
    EXPECT_EQ(db.count("config where [id]=2"), 1);
}

TEST(Connection, FailedBatchInsideATransactionUndoesOnlyItself) {
    TestDb db;
    auto& c = db.conn();
    c.BeginTrans();
    db.exec("insert into config([id],mode) values(1,1)");
    // Two statements: the second breaks the key, so the first must not stay.
    EXPECT_THROW(
        db.exec(
            "insert into config([id],mode) values(2,1)\rinsert into config([id],mode) values(1,1)"),
        EDatabaseError);
    EXPECT_TRUE(c.InTransaction());
    c.CommitTrans();
    EXPECT_EQ(db.count("config"), 1);
    EXPECT_EQ(db.count("config where [id]=2"), 0);
}

TEST(Connection, AFailedBatchInsideAWholeTransactionUndoesTheWholeOfIt) {
    TestDb db;
    auto& c = db.conn();
    // Nested in an ordinary transaction, as a window's store may be.
    c.BeginTrans();
    db.exec("insert into config([id],mode) values(1,1)");
    c.BeginWholeTrans();
    db.exec("insert into config([id],mode) values(2,1)\rinsert into config([id],mode) values(3,1)");
    // No savepoint to go back to: the batch's first row is in, and the
    // transaction can no longer be committed.
    EXPECT_THROW(
        db.exec(
            "insert into config([id],mode) values(4,1)\rinsert into config([id],mode) values(1,1)"),
        EDatabaseError);
    c.CommitTrans();  // the whole one ends; the outer one holds the doom
    EXPECT_TRUE(c.InTransaction());
    EXPECT_THROW(c.CommitTrans(), EDatabaseError);
    EXPECT_FALSE(c.InTransaction());
    EXPECT_EQ(db.count("config"), 0);

    // Afterwards transactions are ordinary again: a failed batch undoes only itself.
    c.BeginTrans();
    db.exec("insert into config([id],mode) values(5,1)");
    EXPECT_THROW(
        db.exec(
            "insert into config([id],mode) values(6,1)\rinsert into config([id],mode) values(5,1)"),
        EDatabaseError);
    c.CommitTrans();
    EXPECT_EQ(db.rows("select [id] from config"), QStringList{"5"});

    // A whole transaction that runs to its end commits what it did.
    c.BeginWholeTrans();
    db.exec("insert into config([id],mode) values(7,1)\rinsert into config([id],mode) values(8,1)");
    c.CommitTrans();
    EXPECT_EQ(db.count("config"), 3);
}

TEST(Connection, UnitRollsBackWhenNotCommitted) {
    TestDb db;
    {
        TRemoteUdpConnection::Unit unit(db.conn());
        db.exec("insert into config([id],mode) values(7,1)");
    }
    EXPECT_FALSE(db.conn().InTransaction());
    EXPECT_EQ(db.count("config"), 0);
}

TEST(Connection, LogKeepsTheTextsAsSentAndNotWhatProceduresRun) {
    TestDb db;
    auto& c = db.conn();
    c.log().clear();
    const QString text = QStringLiteral("select fstate from syslog where fstate='x'");
    db.exec(text);
    ResultTable rows;
    ASSERT_TRUE(c.OpenSQL(QStringLiteral("exec md_test_echo 'A01',2"), rows));
    EXPECT_EQ(c.log().entries(), QStringList({text, QStringLiteral("exec md_test_echo 'A01',2")}));
    ASSERT_EQ(rows.rowCount, 1);
    EXPECT_EQ(rows.at(0, 0).toString(), QStringLiteral("A01"));
    EXPECT_EQ(rows.at(0, 1).toInt(), 2);
    EXPECT_EQ(db.count("syslog where fstate='echo'"), 1);

    c.log().setCapacity(2);
    db.exec("select 1");
    db.exec("select 2");
    db.exec("select 3");
    EXPECT_EQ(c.log().entries(),
              QStringList({QStringLiteral("select 2"), QStringLiteral("select 3")}));
}

TEST(Connection, ProcedureArgumentsFromParametersAndUnknownNames) {
    TestDb db;
    ResultTable rows;
    ParamMap params{{QStringLiteral("code"), QStringLiteral("G1")}};
    ASSERT_TRUE(db.conn().OpenSQL(QStringLiteral("EXEC md_test_echo :code"), rows, &params));
    EXPECT_EQ(rows.at(0, 0).toString(), QStringLiteral("G1"));
    EXPECT_THROW(db.exec("exec no_such_procedure 'x'"), EDatabaseError);
    EXPECT_THROW(db.exec("exec md_test_echo :missing"), EDatabaseError);
}

TEST(Connection, SelectAnywhereInABatchReturnsItsRows) {
    TestDb db;
    ResultTable rows;
    ASSERT_TRUE(
        db.conn().OpenSQL(QStringLiteral("insert into config([id],mode) values(50009,3)\nselect "
                                         "mode from config where [id]=50009"),
                          rows));
    ASSERT_EQ(rows.rowCount, 1);
    EXPECT_EQ(rows.at(0, 0).toInt(), 3);
    ResultTable none;
    EXPECT_FALSE(db.conn().OpenSQL(QStringLiteral("delete from config where [id]=1"), none));
}

TEST(Connection, FileIsSharedSafely) {
    TestDb db;
    if (!db.isPostgres()) {
        QSqlQuery pragma(db.conn().database());
        ASSERT_TRUE(pragma.exec(QStringLiteral("pragma journal_mode")) && pragma.next());
        EXPECT_EQ(pragma.value(0).toString(), QStringLiteral("wal"));
        ASSERT_TRUE(pragma.exec(QStringLiteral("pragma synchronous")) && pragma.next());
        EXPECT_EQ(pragma.value(0).toInt(), 2);  // FULL
    }

    TRemoteUdpConnection other;
    md::server::openDatabase(other, db.settings(), false);
    db.exec("insert into config([id],mode) values(3,1)");
    ResultTable rows;
    other.OpenSQL(QStringLiteral("select mode from config where [id]=3"), rows);
    EXPECT_EQ(rows.rowCount, 1);
}

TEST(KeyViews, FreshTwelveCharacterKeysThatNeverRepeat) {
    TestDb db;
    TRemoteUdpConnection other;
    md::server::openDatabase(other, db.settings(), false);
    QSet<QString> seen;
    const QRegularExpression shape(QStringLiteral("^[0-9A-Z]{12}$"));
    for (int i = 0; i < 2000; ++i) {
        for (TRemoteUdpConnection* c : {&db.conn(), &other}) {
            ResultTable rows;
            c->OpenSQL(i % 2 ? QStringLiteral("select top 1 * from dbo.V_GetPassWord12")
                             : QStringLiteral("select * from v_Getpassword12"),
                       rows);
            const QString key = rows.at(0, 0).toString();
            ASSERT_TRUE(shape.match(key).hasMatch()) << qPrintable(key);
            ASSERT_FALSE(seen.contains(key)) << qPrintable(key);
            seen.insert(key);
        }
    }
}

TEST(Mdsql, PrintsResultSetsAsTabSeparatedText) {
    TestDb db;
    db.exec("insert into config([id],mode,fremark) values(50009,2,'价格小数位')");
    const QString mdsql = QCoreApplication::applicationDirPath() + QStringLiteral("/mdsql");
    QProcess p;
    p.start(
        mdsql,
        {QStringLiteral("--db"), db.path(),
         QStringLiteral(
             "update config set mode=3 where [id]=50009\nselect [id],mode,fremark from config")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()),
              QStringLiteral("(1 rows affected)\nid\tmode\tfremark\n50009\t3\t价格小数位\n"));

    p.start(mdsql, {QStringLiteral("--db"), db.path(), QStringLiteral("select from where")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_FALSE(p.readAllStandardError().isEmpty());
}

TEST(Mdsql, CreatesTheDemoAtTheSizeAskedForInANewDatabaseOnly) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("demo.db"));
    const QString mdsql = QCoreApplication::applicationDirPath() + QStringLiteral("/mdsql");
    const auto run = [&](const QStringList& arguments) {
        QProcess p;
        p.start(mdsql, arguments);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(-1));
        return std::make_pair(
            p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
    };
    const QStringList demo{QStringLiteral("--db"), file, QStringLiteral("--create"),
                           QStringLiteral("--demo-goods"), QStringLiteral("600")};
    auto [status, text] = run(demo);
    EXPECT_EQ(status, 0) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("演示数据已生成：600 个货品。")))
        << text.toStdString();
    EXPECT_EQ(
        run({QStringLiteral("--db"), file, QStringLiteral("select count(*) n from goods")}).second,
        QStringLiteral("n\n600\n"));

    std::tie(status, text) = run(demo);
    EXPECT_NE(status, 0);
    EXPECT_TRUE(text.contains(QStringLiteral("数据库中已有数据"))) << text.toStdString();
    std::tie(status, text) =
        run({QStringLiteral("--db"), file, QStringLiteral("--demo-goods"), QStringLiteral("x")});
    EXPECT_NE(status, 0);
    EXPECT_TRUE(text.contains(QStringLiteral("--demo-goods"))) << text.toStdString();
}

// A batch that only reads does not wait for another program's write transaction.
TEST(Mdsql, ReadsWhileAnotherConnectionWrites) {
    TestDb db;
    db.conn().BeginTrans();
    db.exec("insert into config([id],mode) values(7,1)");
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/mdsql"),
            {QStringLiteral("--db"), db.path(),
             QStringLiteral("select count(*) as n from config where [id]=7")});
    ASSERT_TRUE(p.waitForFinished(-1));
    db.conn().RollbackTrans();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("n\n0\n"));
}

// What PostgreSQL and SQL Server refuse - text longer than its column (in
// characters), numbers beyond their type - SQLite refuses as well, naming the
// field, and the row stays as it was.
TEST(Connection, ValuesNoServerWouldStoreAreRefusedOnEveryBackend) {
    TestDb db;
    db.exec("insert into goods(goodsid,goodsname) values('G1','原名')");
    const QString fifty(50, QChar(0x5B57));  // "字": fifty characters, 150 bytes
    const ParamMap fits{{QStringLiteral("n"), fifty}};
    db.conn().ExecSQL(QStringLiteral("update goods set goodsname=:n where goodsid='G1'"), &fits);
    struct Refused {
        const char* tsql;
        QVariant value;
        const char* message;
    };
    const Refused refused[] = {
        {"update goods set goodsname=:v where goodsid='G1'", QString(10000, QLatin1Char('x')),
         "表 goods 的字段 goodsname 最多存 50 个字符。"},
        {"insert into goods(goodsid,goodsname) values('G2',:v)", QString(fifty + QLatin1Char('x')),
         "表 goods 的字段 goodsname 最多存 50 个字符。"},
        {"update goods set fsortbyint=:v where goodsid='G1'", 1e23,
         "表 goods 的字段 fsortbyint 只能存 int 范围内的数值。"},
        {"update goods set unitprice=:v where goodsid='G1'", 1e308,
         "表 goods 的字段 unitprice 只能存 money 范围内的数值。"},
    };
    for (const Refused& r : refused) {
        const ParamMap value{{QStringLiteral("v"), r.value}};
        try {
            db.conn().ExecSQL(QString::fromUtf8(r.tsql), &value);
            ADD_FAILURE() << r.tsql;
        } catch (const EDatabaseError& e) {
            if (!db.isPostgres()) {
                EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(r.message)))
                    << qPrintable(e.message());
            }
        }
    }
    EXPECT_EQ(db.rows(QStringLiteral("select goodsid,goodsname,isnull(fsortbyint,-1),unitprice "
                                     "from goods")),
              QStringList{QStringLiteral("G1|") + fifty + QStringLiteral("|-1|0")});
}
