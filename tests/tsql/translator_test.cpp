// What the translator tells the connection beside the text: parameters,
// placeholders, kinds, tables, result columns, procedure calls; and its cache.
#include <gtest/gtest.h>

#include "serverdb.h"
#include "tsqltestutil.h"

using namespace md::sql;

namespace {

Translator fixtureTranslator() {
    return Translator(Dialect::SQLite, md::test::fixtureCatalog());
}

TEST(Translator, PlaceholdersFollowTheTextAndRepeatTheirParameter) {
    Translator t = fixtureTranslator();
    const Statement s = t.translate(QStringLiteral("update mr_smp set fgoodsid=:new from mr_smp a "
                                                   "join mr_goods b on a.foldgoodsid=b.goodsid "
                                                   "where a.fbillid=:bill"))
                            ->statements.front();
    ASSERT_EQ(s.params.size(), 2);
    EXPECT_FALSE(s.params[0].inWhere);
    EXPECT_TRUE(s.params[1].inWhere);
    // The rewrite uses the where clause twice: both places bind the same parameter.
    EXPECT_EQ(s.placeholderOrder, (QVector<int>{0, 1, 1}));
    EXPECT_EQ(s.kind, Statement::Kind::Update);
    EXPECT_EQ(s.targetTable, QStringLiteral("mr_smp"));
}

TEST(Translator, KindsTablesAndResultColumns) {
    Translator t = fixtureTranslator();
    const auto batch = t.translate(QStringLiteral(
        "select a.*, b.colorname_ch cname, a.fautoid+1 from goodscolor a join ba_color b on "
        "a.fcolorid=b.colorid\r"
        "insert into GOODS(goodsid) values('x')\rdelete a from goodscolor a where a.fautoid=1\r"
        "exec dbo.P_UpdateGoodsSize 'A01', :code, 3\rselect * from unknown_table"));
    ASSERT_EQ(batch->statements.size(), 5);
    const Statement& select = batch->statements[0];
    EXPECT_TRUE(select.returnsRows);
    EXPECT_EQ(select.sourceTable, QStringLiteral("goodscolor"));
    QStringList names;
    for (const ResultColumn& c : select.columns) names << c.name;
    EXPECT_EQ(names,
              (QStringList{"fautoid", "GoodsNo", "fgoodsid", "fcolorid", "ColorNo", "cname", ""}));
    EXPECT_EQ(select.columns[0].type, SqlType::Integer);
    EXPECT_EQ(select.columns[5].type, SqlType::Text);
    EXPECT_EQ(select.columns[6].type, SqlType::Integer);
    EXPECT_EQ(batch->statements[1].targetTable, QStringLiteral("goods"));
    EXPECT_EQ(batch->statements[2].targetTable, QStringLiteral("goodscolor"));
    const Statement& exec = batch->statements[3];
    EXPECT_EQ(exec.kind, Statement::Kind::Exec);
    EXPECT_TRUE(exec.sql.isEmpty());
    EXPECT_EQ(exec.procedure, QStringLiteral("P_UpdateGoodsSize"));
    ASSERT_EQ(exec.args.size(), 3);
    EXPECT_EQ(exec.args[0].value, QVariant(QStringLiteral("A01")));
    EXPECT_EQ(exec.args[1].kind, ExecArg::Kind::Param);
    EXPECT_EQ(exec.args[1].paramName, QStringLiteral("code"));
    EXPECT_EQ(exec.args[2].value, QVariant(3LL));
    EXPECT_TRUE(batch->statements[4].columns.isEmpty())
        << "columns of an unknown table are not guessed";
    EXPECT_EQ(batch->statements[4].tsql, QStringLiteral("select * from unknown_table"));
}

TEST(Translator, NothingOfABatchIsReturnedWhenOneStatementFails) {
    Translator t = fixtureTranslator();
    try {
        t.translate(QStringLiteral("delete from goods\rdelete from goodscolor\rdeclare @x int"));
        FAIL() << "translated";
    } catch (const ETranslateError& e) {
        EXPECT_EQ(e.line(), 3);
    }
}

TEST(Translator, CacheReturnsTheSameTranslationForTheSameText) {
    Translator t = fixtureTranslator();
    const QString text = QStringLiteral("select * from goods where goodsid=:id");
    const auto first = t.translate(text);
    EXPECT_EQ(first.get(), t.translate(text).get());
    EXPECT_NE(first.get(), t.translate(text + QLatin1Char(' ')).get());
    // Beyond a generation's size the entry survives as long as it is used.
    for (int i = 0; i < 10000; ++i) {
        t.translate(QStringLiteral("select %1").arg(i));
        if (i % 1000 == 0) {
            EXPECT_EQ(first.get(), t.translate(text).get());
        }
    }
}

// SQL Server takes the added column as written, "with values" included; the
// other dialects print it as create table would (tests/golden/alter.*).
TEST(Translator, AlterTableAddGoesToSqlServerAsWritten) {
    Translator t(Dialect::SqlServer, md::test::fixtureCatalog());
    const QString text =
        QStringLiteral("alter table goods add fprice money null default 0 with values");
    const Statement s = t.translate(text)->statements.front();
    EXPECT_EQ(s.kind, Statement::Kind::Ddl);
    EXPECT_EQ(s.sql, text);
}

// The server's own schema, as the server library keeps it, translates and
// creates on SQLite; every view and function can be selected from.
TEST(Translator, ServerSchemaCreatesOnSqlite) {
    const QString script = md::server::schemaScript();
    ASSERT_FALSE(script.isEmpty());
    auto catalog = std::make_shared<Catalog>();
    catalog->load(script);
    Translator t(Dialect::SQLite, catalog);
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    registerSqliteRuntime(db);
    for (const Statement& s : t.translate(script)->statements) {
        if (s.sql.isEmpty()) continue;
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, s.sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "") << "\n"
            << qPrintable(s.sql);
        sqlite3_free(error);
    }
    for (const TableInfo* table : catalog->tables()) {
        const QString sql =
            t.translate(QStringLiteral("select top 1 * from ") + table->name)->statements[0].sql;
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "") << "\n"
            << qPrintable(sql);
        sqlite3_free(error);
    }
    sqlite3_close(db);
}

}  // namespace
