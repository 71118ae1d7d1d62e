// Statements: batches, insert, update, delete, exec and create statements.
#include "tsql/parser.h"

#include "tsql/parser_p.h"
#include "tsql/tsqlerror.h"

namespace md::sql {

using namespace ast;

namespace {

// Words that begin a statement we do not take: they still end the statement
// before them, so that the error names them.
const char* const kUnsupportedStatements[] = {
    "while",    "declare",    "if",       "begin",    "set",        "go",         "alter",
    "print",    "return",     "with",     "commit",   "rollback",   "save",       "use",
    "merge",    "open",       "fetch",    "close",    "deallocate", "raiserror",  "throw",
    "waitfor",  "grant",      "revoke",   "deny",     "dbcc",       "backup",     "restore",
    "bulk",     "checkpoint", "kill",     "readtext", "writetext",  "updatetext", "reconfigure",
    "shutdown", "break",      "continue", "goto",     "end",        "else",       "revert",
    "setuser",  "enable",     "disable",  "disk",     "dump",       "load",       "setuser",
};

bool isUnsupportedStatementWord(const Token& t) {
    if (t.kind != TokenKind::Identifier) return false;
    for (const char* word : kUnsupportedStatements)
        if (t.isKeyword(QLatin1String(word))) return true;
    return false;
}

bool isStatementWord(const Token& t) {
    static const char* const kWords[] = {"select",  "insert", "update", "delete",  "exec",
                                         "execute", "create", "drop",   "truncate"};
    if (t.kind != TokenKind::Identifier) return false;
    for (const char* word : kWords)
        if (t.isKeyword(QLatin1String(word))) return true;
    return isUnsupportedStatementWord(t);
}

}  // namespace

Parser::Parser(const QString& source) : m_source(source), m_tokens(tokenize(source)) {}

const Token& Parser::next() {
    const Token& t = peek();
    if (m_pos < m_tokens.size() - 1) {
        ++m_pos;
        m_lastEnd = t.offset + t.length;
    }
    return t;
}

bool Parser::acceptKeyword(const char* keyword) {
    if (!peek().isKeyword(QLatin1String(keyword))) return false;
    next();
    return true;
}

void Parser::expectKeyword(const char* keyword) {
    if (!acceptKeyword(keyword))
        syntaxError(peek(), QStringLiteral("缺少 %1").arg(QString::fromLatin1(keyword).toUpper()));
}

bool Parser::acceptSymbol(char symbol) {
    if (!peek().isSymbol(symbol)) return false;
    next();
    return true;
}

void Parser::expectSymbol(char symbol) {
    if (!acceptSymbol(symbol))
        syntaxError(peek(), QStringLiteral("缺少 '%1'").arg(QLatin1Char(symbol)));
}

void Parser::syntaxError(const Token& at) const {
    if (at.kind == TokenKind::End) throwUnexpectedEnd(QString(), at.line, at.column);
    throwSyntaxError(at.sourceText(m_source).left(40), at.line, at.column);
}

void Parser::syntaxError(const Token& at, const QString& hint) const {
    if (at.kind == TokenKind::End) throwUnexpectedEnd(hint, at.line, at.column);
    throwSyntaxError(at.sourceText(m_source).left(40), hint, at.line, at.column);
}

void Parser::unsupportedStatement(const Token& at) const {
    QString construct = at.text;
    const Token& after = peek(1);
    if (&at == &peek() &&
        (after.isKeyword(QLatin1String("tran")) || after.isKeyword(QLatin1String("transaction")) ||
         after.isKeyword(QLatin1String("try")) || after.isKeyword(QLatin1String("catch"))))
        construct += QLatin1Char(' ') + after.text;
    throwUnsupportedStatement(construct, at.line, at.column);
}

bool Parser::isName(const Token& t) const {
    return t.kind == TokenKind::QuotedIdentifier ||
           (t.kind == TokenKind::Identifier && !isReservedWord(t.text));
}

QString Parser::expectName() {
    const Token& t = peek();
    if (!isName(t)) syntaxError(t);
    next();
    return t.text;
}

QString Parser::parseObjectName(QString* schema) {
    QStringList parts;
    parts << expectName();
    while (peek().isSymbol('.')) {
        next();
        if (peek().isSymbol('.')) {  // "db..table": the schema left out
            parts << QString();
            continue;
        }
        parts << expectName();
    }
    if (schema) *schema = parts.size() > 1 ? parts[parts.size() - 2] : QString();
    return parts.last();
}

QString Parser::parseAlias(bool allowString) {
    if (acceptKeyword("as")) {
        const Token& t = peek();
        if (allowString && t.kind == TokenKind::String) {
            next();
            return t.text;
        }
        return expectName();
    }
    const Token& t = peek();
    if (isName(t) || (allowString && t.kind == TokenKind::String)) {
        next();
        return t.text;
    }
    return {};
}

// ---- batches ----------------------------------------------------------------

std::vector<StmtPtr> Parser::parseBatch() {
    std::vector<StmtPtr> statements;
    while (!atEnd()) {
        if (acceptSymbol(';')) continue;
        const Token& start = peek();
        m_paramIndex.clear();
        m_whereDepth = 0;
        m_whereCounts = true;
        StmtPtr statement = parseStatement();
        statement->line = start.line;
        statement->column = start.column;
        statement->beginOffset = start.offset;
        statement->endOffset = m_lastEnd;
        const Token& after = peek();
        if (!(after.kind == TokenKind::End || after.isSymbol(';') || isStatementWord(after) ||
              (after.isSymbol('(') && startsSelect(0))))
            syntaxError(after);
        statements.push_back(std::move(statement));
    }
    return statements;
}

namespace {
template <class T>
std::unique_ptr<T> begin(Stmt*& current) {
    auto statement = std::make_unique<T>();
    current = statement.get();
    return statement;
}
}  // namespace

StmtPtr Parser::parseStatement() {
    const Token& t = peek();
    if (t.isKeyword(QLatin1String("select")) || (t.isSymbol('(') && startsSelect(0))) {
        auto s = begin<SelectStmt>(m_current);
        // Every where clause of a select counts, and its joins' conditions too.
        s->select = parseSelect();
        return s;
    }
    if (t.isKeyword(QLatin1String("insert"))) return parseInsert();
    if (t.isKeyword(QLatin1String("update"))) return parseUpdate();
    if (t.isKeyword(QLatin1String("delete"))) return parseDelete();
    if (t.isKeyword(QLatin1String("exec")) || t.isKeyword(QLatin1String("execute")))
        return parseExec();
    if (t.isKeyword(QLatin1String("create"))) return parseCreate();
    if (t.isKeyword(QLatin1String("drop"))) return parseDrop();
    if (t.isKeyword(QLatin1String("alter")) && isKeyword(1, "table")) return parseAlterTable();
    if (t.isKeyword(QLatin1String("truncate")) && isKeyword(1, "table")) {
        next();
        next();
        auto d = begin<DeleteStmt>(m_current);
        d->table = parseObjectName();
        return d;
    }
    if (isUnsupportedStatementWord(t) || t.isKeyword(QLatin1String("truncate")))
        unsupportedStatement(t);
    syntaxError(t);
}

StmtPtr Parser::parseInsert() {
    next();
    auto s = begin<InsertStmt>(m_current);
    acceptKeyword("into");
    s->table = parseObjectName();
    if (peek().isSymbol('(') && !startsSelect(0)) s->columns = parseColumnList();
    const Token& t = peek();
    if (acceptKeyword("values")) {
        do {
            expectSymbol('(');
            std::vector<ExprPtr> row;
            do row.push_back(parseExpr());
            while (acceptSymbol(','));
            expectSymbol(')');
            s->rows.push_back(std::move(row));
        } while (acceptSymbol(','));
    } else if (startsSelect(0)) {
        s->select = parseSelect();
    } else if (t.isKeyword(QLatin1String("default")) && isKeyword(1, "values")) {
        next();
        next();
        s->defaultValues = true;
    } else if (t.isKeyword(QLatin1String("exec")) || t.isKeyword(QLatin1String("execute"))) {
        throwUnsupportedSyntax(QStringLiteral("INSERT ... EXEC"), t.line, t.column);
    } else {
        syntaxError(t, QStringLiteral("缺少 VALUES 或 SELECT"));
    }
    return s;
}

StmtPtr Parser::parseUpdate() {
    next();
    auto s = begin<UpdateStmt>(m_current);
    if (isKeyword(0, "top")) throwUnsupportedSyntax(peek().text, peek().line, peek().column);
    s->table = parseObjectName();
    expectKeyword("set");
    // Values of SET are new values, even inside a sub-select's where clause.
    m_whereCounts = false;
    do {
        const Token& t = peek();
        if (t.kind == TokenKind::Variable) throwUnsupportedSyntax(t.text, t.line, t.column);
        SetItem item;
        item.line = t.line;
        item.column_ = t.column;
        item.column = expectName();
        if (acceptSymbol('.')) {
            item.qualifier = item.column;
            item.column = expectName();
        }
        const Token& eq = peek();
        if (!eq.isSymbol('=')) {
            if (eq.kind == TokenKind::Symbol && peek(1).isSymbol('='))
                throwUnsupportedSyntax(eq.text + QLatin1Char('='), eq.line, eq.column);
            syntaxError(eq, QStringLiteral("缺少 '='"));
        }
        next();
        item.value = parseExpr();
        s->sets.push_back(std::move(item));
    } while (acceptSymbol(','));
    m_whereCounts = true;
    if (acceptKeyword("from")) {
        ++m_whereDepth;  // the joins' conditions choose rows, as a where clause does
        s->from = parseFromList();
        --m_whereDepth;
    }
    if (acceptKeyword("where")) s->where = parseWhere();
    return s;
}

StmtPtr Parser::parseDelete() {
    next();
    auto s = begin<DeleteStmt>(m_current);
    if (isKeyword(0, "top")) throwUnsupportedSyntax(peek().text, peek().line, peek().column);
    acceptKeyword("from");
    s->table = parseObjectName();
    if (acceptKeyword("from")) {
        ++m_whereDepth;
        s->from = parseFromList();
        --m_whereDepth;
    }
    if (acceptKeyword("where")) s->where = parseWhere();
    return s;
}

StmtPtr Parser::parseExec() {
    next();
    auto s = begin<ExecStmt>(m_current);
    const Token& t = peek();
    if (t.isSymbol('(')) throwUnsupportedSyntax(QStringLiteral("EXEC (...)"), t.line, t.column);
    if (t.kind == TokenKind::Variable) throwUnsupportedSyntax(t.text, t.line, t.column);
    s->procedure = parseObjectName();
    const Token& first = peek();
    if (first.kind == TokenKind::End || first.isSymbol(';') || isStatementWord(first)) return s;
    if (!canStartExpression(first)) syntaxError(first);
    do {
        const Token& a = peek();
        if (a.kind == TokenKind::Variable && peek(1).isSymbol('='))
            throwUnsupportedSyntax(a.text + QStringLiteral(" ="), a.line, a.column);
        if (a.kind == TokenKind::Identifier && !isReservedWord(a.text) && !peek(1).isSymbol('(') &&
            !peek(1).isSymbol('.')) {
            // "exec p abc": a bare word is a text argument
            next();
            auto e = newExpr(ExprKind::String, a);
            e->text = a.text;
            s->args.push_back(std::move(e));
            continue;
        }
        s->args.push_back(parseExpr());
    } while (acceptSymbol(','));
    return s;
}

// ---- create and drop --------------------------------------------------------

StmtPtr Parser::parseCreate() {
    const Token& create = next();
    if (isKeyword(0, "table")) return parseCreateTable();
    if (isKeyword(0, "view")) return parseCreateView();
    if (isKeyword(0, "function")) return parseCreateFunction();
    bool unique = false;
    if (acceptKeyword("unique")) unique = true;
    if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
    if (isKeyword(0, "index")) return parseCreateIndex(unique);
    const Token& what = peek();
    throwUnsupportedStatement(create.text + QLatin1Char(' ') + what.text, create.line,
                              create.column);
}

TypeRef Parser::parseType() {
    TypeRef type;
    const Token& t = peek();
    QString name = expectName();
    if (name.compare(QLatin1String("double"), Qt::CaseInsensitive) == 0) acceptKeyword("precision");
    type.name = name.toLower();
    type.type = sqlTypeFromName(type.name);
    if (acceptSymbol('(')) {
        const Token& n = peek();
        if (n.isKeyword(QLatin1String("max"))) {
            next();
            type.length = -1;
        } else if (n.kind == TokenKind::Number) {
            next();
            type.length = n.text.toInt();
            if (acceptSymbol(',')) {
                const Token& m = peek();
                if (m.kind != TokenKind::Number) syntaxError(m);
                next();
                type.scale = m.text.toInt();
            }
        } else {
            syntaxError(n);
        }
        expectSymbol(')');
    }
    if (type.name == QLatin1String("decimal") || type.name == QLatin1String("numeric")) {
        if (type.length == 0) type.length = 18;
        if (type.scale < 0) type.scale = 0;
    } else if (type.name == QLatin1String("money") || type.name == QLatin1String("smallmoney")) {
        type.scale = 4;
    }
    if (type.type == SqlType::Unknown)
        throwTranslateError(QStringLiteral("类型 '%1' 未知").arg(name), t.line, t.column);
    return type;
}

QStringList Parser::parseColumnList(QVector<bool>* descending) {
    QStringList columns;
    expectSymbol('(');
    do {
        columns << expectName();
        const bool desc = acceptKeyword("desc");
        if (!desc) acceptKeyword("asc");
        if (descending) descending->push_back(desc);
    } while (acceptSymbol(','));
    expectSymbol(')');
    return columns;
}

StmtPtr Parser::parseCreateTable() {
    next();
    auto s = begin<CreateTableStmt>(m_current);
    s->name = parseObjectName();
    expectSymbol('(');
    do {
        if (peek().isSymbol(')')) break;  // T-SQL takes a comma before the closing parenthesis
        if (!parseTableConstraint(*s)) parseColumnDef(*s);
    } while (acceptSymbol(','));
    if (s->columns.empty()) syntaxError(peek(), QStringLiteral("缺少列定义"));
    expectSymbol(')');
    if (isKeyword(0, "on") && (isName(peek(1)) || isKeyword(1, "primary"))) {
        next();
        next();
    }
    return s;
}

void Parser::parseColumnDef(CreateTableStmt& table) {
    ColumnDef column;
    const Token& start = peek();
    column.line = start.line;
    column.column = start.column;
    column.beginOffset = start.offset;
    column.name = expectName();
    if (isKeyword(0, "as"))
        throwUnsupportedSyntax(QStringLiteral("AS (计算列)"), peek().line, peek().column);
    column.type = parseType();
    for (;;) {
        const Token& t = peek();
        if (acceptKeyword("constraint")) {
            expectName();
            continue;
        }
        if (acceptKeyword("identity")) {
            column.identity = true;
            column.notNull = true;
            if (acceptSymbol('(')) {
                parseExpr();
                expectSymbol(',');
                parseExpr();
                expectSymbol(')');
            }
        } else if (t.isKeyword(QLatin1String("not")) && isKeyword(1, "null")) {
            next();
            next();
            column.notNull = true;
        } else if (acceptKeyword("null")) {
            column.notNull = false;
        } else if (acceptKeyword("default")) {
            const int begin = peek().offset;
            column.defaultValue = parseAdditive();
            column.defaultSql = m_source.mid(begin, m_lastEnd - begin);
        } else if (acceptKeyword("primary")) {
            expectKeyword("key");
            if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
            column.primaryKey = true;
            column.notNull = true;
        } else if (acceptKeyword("unique")) {
            if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
            column.unique = true;
        } else if (acceptKeyword("check")) {
            expectSymbol('(');
            column.check = parseExpr();
            expectSymbol(')');
        } else if (isKeyword(0, "references") || (isKeyword(0, "foreign") && isKeyword(1, "key"))) {
            if (acceptKeyword("foreign")) expectKeyword("key");
            expectKeyword("references");
            column.refTable = parseObjectName();
            if (peek().isSymbol('(')) column.refColumns = parseColumnList();
            column.refActions = parseReferentialActions();
        } else if (acceptKeyword("collate")) {
            expectName();  // text columns always compare ignoring case here
        } else if (acceptKeyword("rowguidcol")) {
        } else {
            break;
        }
    }
    column.endOffset = m_lastEnd;
    table.columns.push_back(std::move(column));
}

QString Parser::parseReferentialActions() {
    QStringList actions;
    while (isKeyword(0, "on") && (isKeyword(1, "delete") || isKeyword(1, "update"))) {
        next();
        QString action = QStringLiteral("ON ") + next().text.toUpper();
        if (acceptKeyword("cascade")) {
            action += QLatin1String(" CASCADE");
        } else if (isKeyword(0, "no") && isKeyword(1, "action")) {
            next();
            next();
            action += QLatin1String(" NO ACTION");
        } else if (acceptKeyword("set")) {
            if (acceptKeyword("null")) {
                action += QLatin1String(" SET NULL");
            } else {
                expectKeyword("default");
                action += QLatin1String(" SET DEFAULT");
            }
        } else {
            syntaxError(peek());
        }
        actions << action;
    }
    if (isKeyword(0, "not") && isKeyword(1, "for")) {  // "not for replication" changes nothing here
        next();
        next();
        expectKeyword("replication");
    }
    return actions.join(QLatin1Char(' '));
}

bool Parser::parseTableConstraint(CreateTableStmt& table) {
    const bool named = isKeyword(0, "constraint");
    if (!named && !isKeyword(0, "primary") && !isKeyword(0, "unique") && !isKeyword(0, "check") &&
        !isKeyword(0, "foreign"))
        return false;
    if (named) {
        next();
        expectName();
    }
    TableConstraint c;
    if (acceptKeyword("primary")) {
        expectKeyword("key");
        if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        c.kind = TableConstraint::Kind::PrimaryKey;
        c.columns = parseColumnList();
    } else if (acceptKeyword("unique")) {
        if (!acceptKeyword("clustered")) acceptKeyword("nonclustered");
        c.kind = TableConstraint::Kind::Unique;
        c.columns = parseColumnList();
    } else if (acceptKeyword("check")) {
        c.kind = TableConstraint::Kind::Check;
        expectSymbol('(');
        c.check = parseExpr();
        expectSymbol(')');
    } else if (acceptKeyword("foreign")) {
        expectKeyword("key");
        c.kind = TableConstraint::Kind::ForeignKey;
        c.columns = parseColumnList();
        expectKeyword("references");
        c.refTable = parseObjectName();
        if (peek().isSymbol('(')) c.refColumns = parseColumnList();
        c.refActions = parseReferentialActions();
    } else {
        syntaxError(peek());
    }
    table.constraints.push_back(std::move(c));
    return true;
}

StmtPtr Parser::parseCreateView() {
    next();
    auto s = begin<CreateViewStmt>(m_current);
    s->name = parseObjectName();
    if (peek().isSymbol('(')) s->columns = parseColumnList();
    if (acceptKeyword("with")) expectName();  // schemabinding and the like change nothing here
    expectKeyword("as");
    s->select = parseSelect();
    return s;
}

StmtPtr Parser::parseCreateFunction() {
    next();
    auto s = begin<CreateFunctionStmt>(m_current);
    s->name = parseObjectName();
    expectSymbol('(');
    if (!acceptSymbol(')')) {
        do {
            const Token& p = peek();
            if (p.kind != TokenKind::Variable) syntaxError(p, QStringLiteral("缺少参数名"));
            next();
            acceptKeyword("as");
            FunctionParamDef param{p.text, parseType()};
            if (acceptSymbol('=')) parseExpr();  // defaults are not used by callers here
            s->params.push_back(std::move(param));
        } while (acceptSymbol(','));
        expectSymbol(')');
    }
    expectKeyword("returns");
    const Token& r = peek();
    if (r.kind == TokenKind::Variable)
        throwUnsupportedSyntax(QStringLiteral("RETURNS %1 TABLE").arg(r.text), r.line, r.column);
    if (acceptKeyword("table")) {
        s->returnsTable = true;
    } else {
        s->returnType = parseType();
    }
    if (acceptKeyword("with")) {
        do expectName();
        while (acceptSymbol(','));
    }
    acceptKeyword("as");
    if (s->returnsTable) {
        expectKeyword("return");
        s->select = parseSelect();
        return s;
    }
    const bool block = acceptKeyword("begin");
    const Token& ret = peek();
    if (!ret.isKeyword(QLatin1String("return"))) {
        if (isUnsupportedStatementWord(ret) || isStatementWord(ret)) unsupportedStatement(ret);
        syntaxError(ret, QStringLiteral("缺少 RETURN"));
    }
    next();
    s->expr = parseExpr();
    if (block) {
        acceptSymbol(';');
        expectKeyword("end");
    }
    return s;
}

StmtPtr Parser::parseCreateIndex(bool unique) {
    next();
    auto s = begin<CreateIndexStmt>(m_current);
    s->unique = unique;
    s->name = expectName();
    expectKeyword("on");
    s->table = parseObjectName();
    s->columns = parseColumnList(&s->descending);
    if (isKeyword(0, "include") || isKeyword(0, "where"))
        throwUnsupportedSyntax(peek().text, peek().line, peek().column);
    return s;
}

StmtPtr Parser::parseDrop() {
    next();
    auto s = begin<DropStmt>(m_current);
    const Token& what = peek();
    if (acceptKeyword("table"))
        s->what = DropStmt::What::Table;
    else if (acceptKeyword("view"))
        s->what = DropStmt::What::View;
    else if (acceptKeyword("function"))
        s->what = DropStmt::What::Function;
    else if (acceptKeyword("index"))
        s->what = DropStmt::What::Index;
    else
        throwUnsupportedStatement(QStringLiteral("DROP ") + what.text, what.line, what.column);
    if (isKeyword(0, "if") && isKeyword(1, "exists")) {
        next();
        next();
        s->ifExists = true;
    }
    do {
        s->names << parseObjectName();
        if (s->what == DropStmt::What::Index && acceptKeyword("on")) parseObjectName();
    } while (acceptSymbol(','));
    return s;
}

// Only the form that adds one column: a schema upgrade needs no other, and one
// column per statement is what SQLite takes.
StmtPtr Parser::parseAlterTable() {
    next();
    next();
    auto s = begin<AlterTableStmt>(m_current);
    s->table = parseObjectName();
    const Token& action = peek();
    if (!acceptKeyword("add"))
        throwUnsupportedStatement(QStringLiteral("ALTER TABLE ... ") + action.text.toUpper(),
                                  action.line, action.column);
    const Token& what = peek();
    if (what.isKeyword(QLatin1String("constraint")) || what.isKeyword(QLatin1String("primary")) ||
        what.isKeyword(QLatin1String("unique")) || what.isKeyword(QLatin1String("check")) ||
        what.isKeyword(QLatin1String("foreign")))
        throwUnsupportedSyntax(QStringLiteral("ALTER TABLE ... ADD ") + what.text.toUpper(),
                               what.line, what.column);
    CreateTableStmt holder;
    parseColumnDef(holder);
    s->column = std::move(holder.columns.front());
    const Token& after = peek();
    if (after.isSymbol(','))
        throwUnsupportedSyntax(QStringLiteral("ALTER TABLE ... ADD 多个列"), after.line,
                               after.column);
    if (isKeyword(0, "with") && isKeyword(1, "values")) {
        next();
        next();
        s->withValues = true;
    }
    return s;
}

std::vector<StmtPtr> parseBatch(const QString& source) {
    return Parser(source).parseBatch();
}

}  // namespace md::sql
