// Tokens and positions, and the errors that name what the parser refused.
#include <gtest/gtest.h>

#include "errors.h"
#include "tsql/lexer.h"
#include "tsql/parser.h"

using namespace md::sql;

namespace {

ETranslateError errorFor(const QString& text) {
    try {
        parseBatch(text);
    } catch (const ETranslateError& e) {
        return e;
    }
    ADD_FAILURE() << "no error for " << qPrintable(text);
    return ETranslateError({}, 0, 0);
}

TEST(Lexer, EveryKindOfLineBreakCountsAndColumnsAreCharacters) {
    const QVector<Token> t = tokenize(QStringLiteral("a\rb\r\nc\nd 货号 e"));
    ASSERT_EQ(t.size(), 7);
    EXPECT_EQ(t[1].line, 2);
    EXPECT_EQ(t[2].line, 3);
    EXPECT_EQ(t[3].line, 4);
    EXPECT_EQ(t[4].text, QStringLiteral("货号"));
    EXPECT_EQ(t[4].column, 3);
    EXPECT_EQ(t[5].column, 6);
}

TEST(Lexer, NamesStringsParametersAndComments) {
    const QVector<Token> t =
        tokenize(QStringLiteral("select [my col],N'中''文', 'it''s',:fid,@p, 12.50, .5, 1e3 -- "
                                "note\r/* a /* nested */ one */ 条形码1=x"));
    QStringList texts;
    QList<TokenKind> kinds;
    for (const Token& token : t) {
        texts << token.text;
        kinds << token.kind;
    }
    EXPECT_EQ(texts, (QStringList{"select", "my col", ",",       "中'文", ",",     "it's", ",",
                                  "fid",    ",",      "@p",      ",",     "12.50", ",",    ".5",
                                  ",",      "1e3",    "条形码1", "=",     "x",     ""}));
    EXPECT_EQ(kinds[1], TokenKind::QuotedIdentifier);
    EXPECT_EQ(kinds[3], TokenKind::String);
    EXPECT_EQ(kinds[7], TokenKind::Param);
    EXPECT_EQ(kinds[9], TokenKind::Variable);
    EXPECT_EQ(kinds[16], TokenKind::Identifier);
    EXPECT_EQ(t[16].line, 2);
}

TEST(Lexer, StringsKeepTheirLineBreaksAndUnterminatedOnesAreRefused) {
    const QVector<Token> t = tokenize(QStringLiteral("'a\rb' x"));
    EXPECT_EQ(t[0].text, QStringLiteral("a\rb"));
    EXPECT_EQ(t[1].line, 2);
    const ETranslateError e = errorFor(QStringLiteral("select 1\r select 'abc"));
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 9);
    EXPECT_TRUE(e.message().contains(QStringLiteral("'abc"))) << qPrintable(e.message());
}

TEST(Lexer, NulCharactersAreRefusedWhereTheyStand) {
    const ETranslateError e =
        errorFor(QStringLiteral("select 1\rselect 'a") + QChar(0) + QStringLiteral("b'"));
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 10);
}

TEST(Parser, StatementsEndWhereTheNextKeywordStarts) {
    const QString text = QStringLiteral(
        "select * from goods a\rdelete from goods where goodsid='x'  \r\n"
        "insert into t(a)select 1 exec p 'a'; update t set a=1");
    const auto statements = parseBatch(text);
    ASSERT_EQ(statements.size(), 5u);
    QStringList slices;
    for (const auto& s : statements)
        slices << text.mid(s->beginOffset, s->endOffset - s->beginOffset);
    EXPECT_EQ(slices, (QStringList{"select * from goods a", "delete from goods where goodsid='x'",
                                   "insert into t(a)select 1", "exec p 'a'", "update t set a=1"}));
}

TEST(Parser, ErrorsNameTheTokenLineAndColumn) {
    ETranslateError e = errorFor(QStringLiteral("select *\rfrom goods\rWHILE 1=1 select 1"));
    EXPECT_EQ(e.message(), QStringLiteral("不支持的 SQL 语句 'WHILE'（第 3 行，第 1 列）"));
    e = errorFor(QStringLiteral("select goodsid form goods"));
    EXPECT_EQ(e.message(), QStringLiteral("SQL 语法错误：'goods' 附近（第 1 行，第 21 列）"));
    e = errorFor(QStringLiteral("select * from t where a in (1,2"));
    EXPECT_TRUE(e.message().startsWith(QStringLiteral("SQL 语法错误：语句不完整")))
        << qPrintable(e.message());
    e = errorFor(QStringLiteral("BEGIN TRAN"));
    EXPECT_EQ(e.message(), QStringLiteral("不支持的 SQL 语句 'BEGIN TRAN'（第 1 行，第 1 列）"));
    e = errorFor(QStringLiteral("select top 5 percent * from t"));
    EXPECT_EQ(e.message(), QStringLiteral("不支持的 SQL 语法 'percent'（第 1 行，第 14 列）"));
}

TEST(Parser, ParametersAreDistinctByNameAndByWhereClause) {
    auto statements =
        parseBatch(QStringLiteral("update t set a=:A, b=(select x from u where u.k=:k) from t join "
                                  "v on v.id=:id where a=:a and c=:C"));
    QStringList params;
    for (const ParamRef& p : statements[0]->params) params << p.name + (p.inWhere ? "+" : "");
    EXPECT_EQ(params, (QStringList{"A", "k", "id+", "a+", "C+"}));
    statements = parseBatch(
        QStringLiteral("select * from t where a=:a and b in (select b from u where c=:a)"));
    EXPECT_EQ(statements[0]->params.size(), 1);
}

TEST(Parser, DeepNestingIsRefusedNotACrash) {
    const QString deep =
        QStringLiteral("select ") + QString(5000, QLatin1Char('(')) + QStringLiteral("1");
    EXPECT_TRUE(errorFor(deep).message().contains(QStringLiteral("嵌套")));
}

// Operator and join chains are built in loops; what comes after the parser
// recurses over them, so a chain too tall is refused while it is being read.
TEST(Parser, ChainsTallerThanThePassesCanTakeAreRefusedWhileRead) {
    auto chain = [](int terms, const QString& first, const QString& op) {
        QString text = first;
        for (int i = 1; i < terms; ++i) text += op;
        return text;
    };
    const QString plus = QStringLiteral("select ") + chain(50000, "1", "+1");
    EXPECT_TRUE(errorFor(plus).message().contains(QStringLiteral("嵌套层次太深")));
    // A chain in parentheses is one operand, but its height counts.
    const QString nested = QStringLiteral("select (") + chain(980, "1", "*2") +
                           QStringLiteral(")") + chain(41, "", "+1");
    EXPECT_TRUE(errorFor(nested).message().contains(QStringLiteral("嵌套层次太深")));
    const QString joins = QStringLiteral("select * from t") + chain(5000, "", " join t on 1=1");
    EXPECT_TRUE(errorFor(joins).message().contains(QStringLiteral("嵌套层次太深")));
    EXPECT_NO_THROW(parseBatch(QStringLiteral("select ") + chain(900, "a", "+a") +
                               QStringLiteral(" from t where ") + chain(900, "b", " or b=1")));
}

}  // namespace
