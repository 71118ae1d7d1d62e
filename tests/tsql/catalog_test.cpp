// The catalog read from create statements: keys, identities, view and table
// function columns, lookups in any spelling.
#include <gtest/gtest.h>

#include "tsqltestutil.h"

using namespace md::sql;

namespace {

TEST(Catalog, TablesKeysAndColumnsFromTheCreateStatements) {
    const auto catalog = md::test::fixtureCatalog();
    const TableInfo* goodscolor = catalog->table(u"dbo.[GoodsColor]");
    ASSERT_TRUE(goodscolor);
    EXPECT_EQ(goodscolor->key, (QStringList{"fgoodsid", "fcolorid"}));
    ASSERT_TRUE(goodscolor->identityColumn());
    EXPECT_EQ(goodscolor->identityColumn()->name, QStringLiteral("fautoid"));
    EXPECT_FALSE(goodscolor->column(u"FGOODSID")->nullable);

    const TableInfo* syslog = catalog->table(u"syslog");
    EXPECT_EQ(syslog->key, QStringList{"fautoid"});
    const ColumnInfo* goodsname = catalog->table(u"goods")->column(u"goodsname");
    EXPECT_EQ(goodsname->typeName, QStringLiteral("varchar(50)"));
    EXPECT_EQ(goodsname->length, 50);
    EXPECT_EQ(catalog->table(u"goods")->column(u"inputdate")->defaultSql,
              QStringLiteral("getdate()"));
    EXPECT_EQ(catalog->table(u"goods")->column(u"unitprice")->type, SqlType::Decimal);
    EXPECT_EQ(catalog->table(u"config")->column(u"id")->type, SqlType::Integer);
}

TEST(Catalog, ViewAndFunctionColumnsAreInferred) {
    const auto catalog = md::test::fixtureCatalog();
    const TableInfo* view = catalog->table(u"VGOODSCOLOR");
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isView);
    QStringList names;
    for (const ColumnInfo& c : view->columns) names << c.name;
    EXPECT_EQ(names, (QStringList{"goodsid", "colorid", "goodsname", "colorname_ch", "unitprice",
                                  "ayear", "brand", "sort", "size_class", "delbit"}));
    EXPECT_EQ(view->column(u"unitprice")->typeName, QStringLiteral("money"));
    EXPECT_EQ(view->column(u"delbit")->type, SqlType::Bit);
    EXPECT_TRUE(view->column(u"delbit")->computed);
    EXPECT_FALSE(view->column(u"goodsid")->computed);
    EXPECT_EQ(catalog->table(u"vbarcode")->column(u"条形码1")->type, SqlType::Text);

    const FunctionInfo* fn = catalog->function(u"dbo.FN_HOUSEPLANPRICE");
    ASSERT_TRUE(fn);
    EXPECT_TRUE(fn->returnsTable);
    ASSERT_EQ(fn->params.size(), 3);
    EXPECT_EQ(fn->params[1].type, SqlType::DateTime);
    ASSERT_EQ(fn->columns.size(), 3);
    EXPECT_EQ(fn->columns[1].name, QStringLiteral("firstqty"));
    EXPECT_EQ(fn->columns[1].type, SqlType::Integer);
    const FunctionInfo* scalar = catalog->function(u"getdate1");
    ASSERT_TRUE(scalar);
    EXPECT_FALSE(scalar->returnsTable);
    EXPECT_EQ(scalar->returnType, SqlType::DateTime);
}

TEST(Catalog, ViewsMayUseFunctionsDefinedAfterThem) {
    Catalog catalog;
    catalog.load(
        QStringLiteral("create view v as select * from f('x')\n"
                       "create table t (a int, b varchar(5))\n"
                       "create function f(@p varchar(5)) returns table as return (select a, b from "
                       "t where b = @p)"));
    const TableInfo* v = catalog.table(u"v");
    ASSERT_TRUE(v);
    ASSERT_EQ(v->columns.size(), 2);
    EXPECT_EQ(v->columns[0].type, SqlType::Integer);
}

TEST(Catalog, ABadScriptIsRefusedWithItsPosition) {
    Catalog catalog;
    try {
        catalog.load(QStringLiteral("create table t (a int)\ncreate table u (a int,, b int)"));
        FAIL() << "loaded";
    } catch (const ETranslateError& e) {
        EXPECT_EQ(e.line(), 2);
    }
}

}  // namespace
