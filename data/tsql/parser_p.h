#pragma once
// The recursive-descent parser, shared by parser.cpp (statements and create
// statements) and parser_expr.cpp (expressions and selects).
#include <QHash>

#include "tsql/ast.h"
#include "tsql/lexer.h"
#include "tsql/parser.h"

namespace md::sql {

class Parser {
  public:
    explicit Parser(const QString& source);
    std::vector<ast::StmtPtr> parseBatch();

  private:
    // Tokens
    const Token& peek(int ahead = 0) const {
        const int i = m_pos + ahead;
        return i < m_tokens.size() ? m_tokens[i] : m_tokens.back();
    }
    const Token& next();
    bool atEnd() const { return peek().kind == TokenKind::End; }
    bool acceptKeyword(const char* keyword);
    void expectKeyword(const char* keyword);
    bool acceptSymbol(char symbol);
    void expectSymbol(char symbol);
    [[noreturn]] void syntaxError(const Token& at) const;
    [[noreturn]] void syntaxError(const Token& at, const QString& hint) const;
    bool isKeyword(int ahead, const char* keyword) const {
        return peek(ahead).isKeyword(QLatin1String(keyword));
    }

    // A plain word that names something: not reserved, or a [quoted] name.
    bool isName(const Token& t) const;
    QString expectName();
    // "dbo.name", "[db].[dbo].[name]": the last part; schema gets the part before it.
    QString parseObjectName(QString* schema = nullptr);
    // An optional alias: "[AS] name"; empty when none.
    QString parseAlias(bool allowString);

    // Statements (parser.cpp)
    ast::StmtPtr parseStatement();
    ast::StmtPtr parseInsert();
    ast::StmtPtr parseUpdate();
    ast::StmtPtr parseDelete();
    ast::StmtPtr parseExec();
    ast::StmtPtr parseCreate();
    ast::StmtPtr parseCreateTable();
    ast::StmtPtr parseCreateView();
    ast::StmtPtr parseCreateFunction();
    ast::StmtPtr parseCreateIndex(bool unique);
    ast::StmtPtr parseDrop();
    ast::StmtPtr parseAlterTable();
    ast::TypeRef parseType();
    void parseColumnDef(ast::CreateTableStmt& table);
    bool parseTableConstraint(ast::CreateTableStmt& table);
    QStringList parseColumnList(QVector<bool>* descending = nullptr);
    // "on delete cascade on update set null" after REFERENCES, in upper case.
    QString parseReferentialActions();
    [[noreturn]] void unsupportedStatement(const Token& at) const;

    // Selects and sources (parser_expr.cpp)
    ast::SelectPtr parseSelect();      // with unions and order by
    ast::SelectPtr parseSelectCore();  // one branch
    ast::SelectPtr parseParenthesizedSelectAsBranch();
    void parseSelectItems(ast::Select& select);
    std::vector<ast::TableRefPtr> parseFromList();
    ast::TableRefPtr parseTableSource();
    ast::TableRefPtr parsePrimarySource();
    bool startsSelect(int ahead) const;  // "select" or "(" ... "select"

    // Expressions (parser_expr.cpp)
    ast::ExprPtr parseExpr();
    ast::ExprPtr parseAnd();
    ast::ExprPtr parseNot();
    ast::ExprPtr parsePredicate();
    ast::ExprPtr parseAdditive();
    ast::ExprPtr parseMultiplicative();
    ast::ExprPtr parseUnary();
    ast::ExprPtr parsePrimary();
    ast::ExprPtr parseCase(const Token& start);
    ast::ExprPtr parseConvert(const Token& start, bool isCast);
    ast::ExprPtr parseNameOrCall();
    ast::ExprPtr parseWhere();  // the condition after WHERE/ON/HAVING, counted as a where clause
    ast::ExprPtr newExpr(ast::ExprKind kind, const Token& at) const;
    bool canStartExpression(const Token& t) const;
    // Chains of operators and joins are built in loops, so their height never
    // shows in the parser's own nesting; every child is attached through these,
    // which refuse a tree taller than kMaxTreeHeight before it grows further.
    static constexpr int kMaxTreeHeight = 1000;
    template <class Parent, class Child>
    void raise(Parent& parent, const Child* child) const {
        if (child && child->height >= parent.height) {
            parent.height = child->height + 1;
            if (parent.height > kMaxTreeHeight) refuseTooDeep();
        }
    }
    [[noreturn]] void refuseTooDeep() const;
    void append(ast::Expr& parent, ast::ExprPtr child) const;
    void raiseSelect(ast::Select& s) const;  // over its clauses, once they are parsed

    // Parameters of the statement being parsed.
    int useParam(const QString& name);

    const QString& m_source;
    QVector<Token> m_tokens;
    int m_pos = 0;
    int m_lastEnd = 0;  // end offset of the last token consumed
    ast::Stmt* m_current = nullptr;
    QHash<QString, int> m_paramIndex;  // "name\x1fwhere" -> index
    int m_whereDepth = 0;              // > 0 while parsing a where clause
    bool m_whereCounts = true;         // false inside the values of an update's SET
    int m_depth = 0;                   // nesting, to refuse absurd inputs before the stack does
};

}  // namespace md::sql
