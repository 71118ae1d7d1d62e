// Expressions, selects and FROM sources.
#include <algorithm>
#include <cstring>

#include "tsql/parser_p.h"
#include "tsql/tsqlerror.h"

namespace md::sql {

using namespace ast;

namespace {

// T-SQL's reserved words, plus GO: a word of this list never names a column
// or an alias, so it ends whatever came before it.
const char* const kReserved[] = {
    "add",
    "all",
    "alter",
    "and",
    "any",
    "apply",
    "as",
    "asc",
    "authorization",
    "backup",
    "begin",
    "between",
    "break",
    "browse",
    "bulk",
    "by",
    "cascade",
    "case",
    "check",
    "checkpoint",
    "close",
    "clustered",
    "coalesce",
    "collate",
    "column",
    "commit",
    "compute",
    "constraint",
    "contains",
    "containstable",
    "continue",
    "convert",
    "create",
    "cross",
    "current",
    "current_date",
    "current_time",
    "current_timestamp",
    "current_user",
    "cursor",
    "database",
    "dbcc",
    "deallocate",
    "declare",
    "default",
    "delete",
    "deny",
    "desc",
    "disk",
    "distinct",
    "distributed",
    "double",
    "drop",
    "dump",
    "else",
    "end",
    "errlvl",
    "escape",
    "except",
    "exec",
    "execute",
    "exists",
    "exit",
    "external",
    "fetch",
    "file",
    "fillfactor",
    "for",
    "foreign",
    "freetext",
    "freetexttable",
    "from",
    "full",
    "function",
    "go",
    "goto",
    "grant",
    "group",
    "having",
    "holdlock",
    "identity",
    "identity_insert",
    "identitycol",
    "if",
    "in",
    "index",
    "inner",
    "insert",
    "intersect",
    "into",
    "is",
    "join",
    "key",
    "kill",
    "left",
    "like",
    "lineno",
    "load",
    "merge",
    "national",
    "nocheck",
    "nonclustered",
    "not",
    "null",
    "nullif",
    "of",
    "off",
    "offsets",
    "on",
    "open",
    "opendatasource",
    "openquery",
    "openrowset",
    "openxml",
    "option",
    "or",
    "order",
    "outer",
    "over",
    "percent",
    "pivot",
    "plan",
    "precision",
    "primary",
    "print",
    "proc",
    "procedure",
    "public",
    "raiserror",
    "read",
    "readtext",
    "reconfigure",
    "references",
    "replication",
    "restore",
    "restrict",
    "return",
    "revert",
    "revoke",
    "right",
    "rollback",
    "rowcount",
    "rowguidcol",
    "rule",
    "save",
    "schema",
    "select",
    "session_user",
    "set",
    "setuser",
    "shutdown",
    "some",
    "statistics",
    "system_user",
    "table",
    "tablesample",
    "textsize",
    "then",
    "throw",
    "to",
    "top",
    "tran",
    "transaction",
    "trigger",
    "truncate",
    "try_convert",
    "tsequal",
    "union",
    "unique",
    "unpivot",
    "update",
    "updatetext",
    "use",
    "user",
    "values",
    "varying",
    "view",
    "waitfor",
    "when",
    "where",
    "while",
    "with",
    "within",
    "writetext",
};

// Reserved words that still name built-in functions when a '(' follows.
const char* const kFunctionWords[] = {"left", "right", "coalesce", "nullif"};

bool lowerAscii(QStringView word, char* out, int capacity) {
    if (word.size() >= capacity) return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u >= 0x80) return false;
        out[i] = char(u >= 'A' && u <= 'Z' ? u + 32 : u);
    }
    out[word.size()] = 0;
    return true;
}

bool inList(QStringView word, const char* const* list, size_t count) {
    char buffer[32];
    if (!lowerAscii(word, buffer, sizeof buffer)) return false;
    for (size_t i = 0; i < count; ++i)
        if (std::strcmp(list[i], buffer) == 0) return true;
    return false;
}

// Deeply nested input is refused before it can exhaust the stack.
class DepthGuard {
  public:
    DepthGuard(int& depth, const Token& at) : m_depth(depth) {
        if (++m_depth > 200)
            throwSyntaxError(at.text, QStringLiteral("嵌套层次太深"), at.line, at.column);
    }
    ~DepthGuard() { --m_depth; }

  private:
    int& m_depth;
};

Op compareOp(const Token& t) {
    if (t.kind != TokenKind::Symbol) return Op::None;
    const QString& s = t.text;
    if (s == QLatin1String("=")) return Op::Eq;
    if (s == QLatin1String("<>") || s == QLatin1String("!=")) return Op::Ne;
    if (s == QLatin1String("<")) return Op::Lt;
    if (s == QLatin1String(">")) return Op::Gt;
    if (s == QLatin1String("<=") || s == QLatin1String("!>")) return Op::Le;
    if (s == QLatin1String(">=") || s == QLatin1String("!<")) return Op::Ge;
    return Op::None;
}

}  // namespace

bool isReservedWord(QStringView word) {
    static const bool sorted =
        std::is_sorted(std::begin(kReserved), std::end(kReserved),
                       [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    char buffer[32];
    if (!lowerAscii(word, buffer, sizeof buffer)) return false;
    if (sorted)
        return std::binary_search(
            std::begin(kReserved), std::end(kReserved), static_cast<const char*>(buffer),
            [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    return inList(word, kReserved, std::size(kReserved));
}

void Parser::refuseTooDeep() const {
    const Token& at = peek();
    throwSyntaxError(at.text, QStringLiteral("嵌套层次太深"), at.line, at.column);
}

void Parser::append(Expr& parent, ExprPtr child) const {
    raise(parent, child.get());
    parent.args.push_back(std::move(child));
}

void Parser::raiseSelect(Select& s) const {
    raise(s, s.top.get());
    for (const SelectItem& item : s.items) raise(s, item.expr.get());
    for (const TableRefPtr& ref : s.from) raise(s, ref.get());
    raise(s, s.where.get());
    for (const ExprPtr& g : s.groupBy) raise(s, g.get());
    raise(s, s.having.get());
}

ExprPtr Parser::newExpr(ExprKind kind, const Token& at) const {
    auto e = std::make_unique<Expr>(kind);
    e->line = at.line;
    e->column = at.column;
    return e;
}

int Parser::useParam(const QString& name) {
    const bool inWhere = m_whereDepth > 0;
    const QString key = name.toLower() + (inWhere ? QLatin1String("\x1f"
                                                                  "1")
                                                  : QLatin1String("\x1f"
                                                                  "0"));
    auto it = m_paramIndex.constFind(key);
    if (it != m_paramIndex.constEnd()) return it.value();
    const int index = int(m_current->params.size());
    m_current->params.push_back({name, inWhere});
    m_paramIndex.insert(key, index);
    return index;
}

bool Parser::startsSelect(int ahead) const {
    while (peek(ahead).isSymbol('(')) ++ahead;
    return peek(ahead).isKeyword(QLatin1String("select"));
}

// ---- selects ----------------------------------------------------------------

SelectPtr Parser::parseSelect() {
    DepthGuard guard(m_depth, peek());
    SelectPtr first = peek().isSymbol('(') ? parseParenthesizedSelectAsBranch() : parseSelectCore();
    for (;;) {
        SetOp op;
        if (acceptKeyword("union")) {
            op = acceptKeyword("all") ? SetOp::UnionAll : SetOp::Union;
        } else if (acceptKeyword("except")) {
            op = SetOp::Except;
        } else if (acceptKeyword("intersect")) {
            op = SetOp::Intersect;
        } else {
            break;
        }
        SelectPtr branch =
            peek().isSymbol('(') ? parseParenthesizedSelectAsBranch() : parseSelectCore();
        raise(*first, branch.get());
        first->parts.push_back({op, std::move(branch)});
    }
    if (isKeyword(0, "order") && isKeyword(1, "by")) {
        next();
        next();
        do {
            OrderItem item;
            item.expr = parseExpr();
            if (acceptKeyword("desc"))
                item.desc = true;
            else
                acceptKeyword("asc");
            raise(*first, item.expr.get());
            first->orderBy.push_back(std::move(item));
        } while (acceptSymbol(','));
    }
    if (isKeyword(0, "for") || isKeyword(0, "option") || isKeyword(0, "offset"))
        throwUnsupportedSyntax(peek().text, peek().line, peek().column);
    return first;
}

// "(select ...)" standing for a branch of a union: a plain branch stays as it
// is; one with its own unions or order becomes "select * from (...)".
SelectPtr Parser::parseParenthesizedSelectAsBranch() {
    const Token& open = peek();
    expectSymbol('(');
    SelectPtr inner = parseSelect();
    expectSymbol(')');
    if (inner->parts.empty() && inner->orderBy.empty()) return inner;
    auto outer = std::make_unique<Select>();
    outer->line = open.line;
    outer->column = open.column;
    outer->items.push_back({newExpr(ExprKind::Star, open), QString()});
    auto derived = std::make_unique<TableRef>();
    derived->kind = TableRef::Kind::Derived;
    derived->line = open.line;
    derived->column = open.column;
    derived->select = std::move(inner);
    raise(*derived, derived->select.get());
    raise(*outer, derived.get());
    outer->from.push_back(std::move(derived));
    return outer;
}

SelectPtr Parser::parseSelectCore() {
    const Token& start = peek();
    expectKeyword("select");
    auto s = std::make_unique<Select>();
    s->line = start.line;
    s->column = start.column;
    if (acceptKeyword("distinct"))
        s->distinct = true;
    else
        acceptKeyword("all");
    if (isKeyword(0, "top")) {
        next();
        if (acceptSymbol('(')) {
            s->top = parseExpr();
            expectSymbol(')');
        } else {
            const Token& n = peek();
            if (n.kind != TokenKind::Number && n.kind != TokenKind::Param) syntaxError(n);
            s->top = parsePrimary();
        }
        if (isKeyword(0, "percent") || (isKeyword(0, "with") && isKeyword(1, "ties")))
            throwUnsupportedSyntax(peek().text, peek().line, peek().column);
    }
    parseSelectItems(*s);
    if (isKeyword(0, "into"))
        throwUnsupportedSyntax(QStringLiteral("SELECT INTO"), peek().line, peek().column);
    if (acceptKeyword("from")) s->from = parseFromList();
    if (acceptKeyword("where")) s->where = parseWhere();
    if (isKeyword(0, "group") && isKeyword(1, "by")) {
        next();
        next();
        if (isKeyword(0, "all"))
            throwUnsupportedSyntax(QStringLiteral("GROUP BY ALL"), peek().line, peek().column);
        do s->groupBy.push_back(parseExpr());
        while (acceptSymbol(','));
    }
    if (acceptKeyword("having")) s->having = parseWhere();
    raiseSelect(*s);
    return s;
}

void Parser::parseSelectItems(Select& select) {
    do {
        const Token& t = peek();
        SelectItem item;
        if (t.isSymbol('*')) {
            next();
            item.expr = newExpr(ExprKind::Star, t);
        } else if ((isName(t)) && peek(1).isSymbol('.') && peek(2).isSymbol('*')) {
            next();
            next();
            next();
            item.expr = newExpr(ExprKind::Star, t);
            item.expr->qualifier = t.text;
        } else if ((isName(t) || t.kind == TokenKind::String) && peek(1).isSymbol('=')) {
            // "fcode='0'": the name on the left is the column's alias
            next();
            next();
            item.alias = t.text;
            item.expr = parseExpr();
        } else if (t.kind == TokenKind::Variable && peek(1).isSymbol('=')) {
            throwUnsupportedSyntax(t.text + QStringLiteral(" ="), t.line, t.column);
        } else {
            item.expr = parseExpr();
            item.alias = parseAlias(true);
        }
        select.items.push_back(std::move(item));
    } while (acceptSymbol(','));
}

std::vector<TableRefPtr> Parser::parseFromList() {
    std::vector<TableRefPtr> list;
    do list.push_back(parseTableSource());
    while (acceptSymbol(','));
    return list;
}

TableRefPtr Parser::parseTableSource() {
    DepthGuard guard(m_depth, peek());
    TableRefPtr left = parsePrimarySource();
    for (;;) {
        const Token& at = peek();
        JoinType type;
        if (acceptKeyword("join")) {
            type = JoinType::Inner;
        } else if (isKeyword(0, "inner") && isKeyword(1, "join")) {
            next();
            next();
            type = JoinType::Inner;
        } else if (isKeyword(0, "left") || isKeyword(0, "right") || isKeyword(0, "full")) {
            type = isKeyword(0, "left")    ? JoinType::Left
                   : isKeyword(0, "right") ? JoinType::Right
                                           : JoinType::Full;
            next();
            acceptKeyword("outer");
            expectKeyword("join");
        } else if (isKeyword(0, "cross") && isKeyword(1, "join")) {
            next();
            next();
            type = JoinType::Cross;
        } else if ((isKeyword(0, "cross") || isKeyword(0, "outer")) && isKeyword(1, "apply")) {
            throwUnsupportedSyntax(at.text + QLatin1Char(' ') + peek(1).text, at.line, at.column);
        } else {
            return left;
        }
        auto join = std::make_unique<TableRef>();
        join->kind = TableRef::Kind::Join;
        join->line = at.line;
        join->column = at.column;
        join->joinType = type;
        join->left = std::move(left);
        join->right = parsePrimarySource();
        if (type != JoinType::Cross) {
            expectKeyword("on");
            join->on = parseWhere();
        }
        raise(*join, join->left.get());
        raise(*join, join->right.get());
        raise(*join, join->on.get());
        left = std::move(join);
    }
}

TableRefPtr Parser::parsePrimarySource() {
    const Token& start = peek();
    if (start.isSymbol('(')) {
        if (startsSelect(1)) {
            next();
            auto derived = std::make_unique<TableRef>();
            derived->kind = TableRef::Kind::Derived;
            derived->line = start.line;
            derived->column = start.column;
            derived->select = parseSelect();
            raise(*derived, derived->select.get());
            expectSymbol(')');
            derived->alias = parseAlias(false);
            if (peek().isSymbol('(') && !derived->alias.isEmpty())
                throwUnsupportedSyntax(derived->alias + QStringLiteral("(...)"), peek().line,
                                       peek().column);
            return derived;
        }
        next();
        TableRefPtr inner = parseTableSource();
        expectSymbol(')');
        return inner;
    }
    auto ref = std::make_unique<TableRef>();
    ref->line = start.line;
    ref->column = start.column;
    ref->name = parseObjectName(&ref->schema);
    if (acceptSymbol('(')) {
        ref->kind = TableRef::Kind::Function;
        if (!acceptSymbol(')')) {
            do {
                ref->args.push_back(parseExpr());
                raise(*ref, ref->args.back().get());
            } while (acceptSymbol(','));
            expectSymbol(')');
        }
    }
    ref->alias = parseAlias(false);
    if (isKeyword(0, "with") && peek(1).isSymbol('('))
        throwUnsupportedSyntax(QStringLiteral("WITH (...)"), peek().line, peek().column);
    return ref;
}

// ---- expressions ------------------------------------------------------------

ExprPtr Parser::parseWhere() {
    if (m_whereCounts) ++m_whereDepth;
    ExprPtr e = parseExpr();
    if (m_whereCounts) --m_whereDepth;
    return e;
}

ExprPtr Parser::parseExpr() {
    DepthGuard guard(m_depth, peek());
    ExprPtr left = parseAnd();
    if (!isKeyword(0, "or")) return left;
    auto e = newExpr(ExprKind::Or, peek());
    e->line = left->line;
    e->column = left->column;
    append(*e, std::move(left));
    while (acceptKeyword("or")) append(*e, parseAnd());
    return e;
}

ExprPtr Parser::parseAnd() {
    ExprPtr left = parseNot();
    if (!isKeyword(0, "and")) return left;
    auto e = newExpr(ExprKind::And, peek());
    e->line = left->line;
    e->column = left->column;
    append(*e, std::move(left));
    while (acceptKeyword("and")) append(*e, parseNot());
    return e;
}

ExprPtr Parser::parseNot() {
    const Token& t = peek();
    if (t.isKeyword(QLatin1String("not"))) {
        DepthGuard guard(m_depth, t);
        next();
        auto e = newExpr(ExprKind::Not, t);
        append(*e, parseNot());
        return e;
    }
    return parsePredicate();
}

ExprPtr Parser::parsePredicate() {
    ExprPtr left = parseAdditive();
    const Token& t = peek();
    if (const Op op = compareOp(t); op != Op::None) {
        next();
        if (isKeyword(0, "all") || isKeyword(0, "any") || isKeyword(0, "some"))
            throwUnsupportedSyntax(peek().text, peek().line, peek().column);
        auto e = newExpr(ExprKind::Compare, t);
        e->op = op;
        append(*e, std::move(left));
        append(*e, parseAdditive());
        return e;
    }
    bool negated = false;
    if (t.isKeyword(QLatin1String("not")) &&
        (isKeyword(1, "like") || isKeyword(1, "in") || isKeyword(1, "between"))) {
        next();
        negated = true;
    }
    const Token& k = peek();
    if (acceptKeyword("like")) {
        auto e = newExpr(ExprKind::Like, k);
        e->negated = negated;
        append(*e, std::move(left));
        append(*e, parseAdditive());
        if (acceptKeyword("escape")) append(*e, parseAdditive());
        return e;
    }
    if (acceptKeyword("in")) {
        expectSymbol('(');
        ExprPtr e;
        if (startsSelect(0)) {
            e = newExpr(ExprKind::InSelect, k);
            append(*e, std::move(left));
            e->select = parseSelect();
            raise(*e, e->select.get());
        } else {
            e = newExpr(ExprKind::InList, k);
            append(*e, std::move(left));
            do append(*e, parseExpr());
            while (acceptSymbol(','));
        }
        expectSymbol(')');
        e->negated = negated;
        return e;
    }
    if (acceptKeyword("between")) {
        auto e = newExpr(ExprKind::Between, k);
        e->negated = negated;
        append(*e, std::move(left));
        append(*e, parseAdditive());
        expectKeyword("and");
        append(*e, parseAdditive());
        return e;
    }
    if (acceptKeyword("is")) {
        auto e = newExpr(ExprKind::IsNull, k);
        e->negated = acceptKeyword("not");
        expectKeyword("null");
        append(*e, std::move(left));
        return e;
    }
    return left;
}

ExprPtr Parser::parseAdditive() {
    ExprPtr left = parseMultiplicative();
    for (;;) {
        const Token& t = peek();
        Op op = Op::None;
        if (t.isSymbol('+'))
            op = Op::Add;
        else if (t.isSymbol('-'))
            op = Op::Sub;
        else if (t.isSymbol('&'))
            op = Op::BitAnd;
        else if (t.isSymbol('|'))
            op = Op::BitOr;
        else if (t.isSymbol('^'))
            op = Op::BitXor;
        else
            return left;
        DepthGuard guard(m_depth, t);
        next();
        auto e = newExpr(ExprKind::Binary, t);
        e->op = op;
        append(*e, std::move(left));
        append(*e, parseMultiplicative());
        left = std::move(e);
    }
}

ExprPtr Parser::parseMultiplicative() {
    ExprPtr left = parseUnary();
    for (;;) {
        const Token& t = peek();
        Op op = Op::None;
        if (t.isSymbol('*'))
            op = Op::Mul;
        else if (t.isSymbol('/'))
            op = Op::Div;
        else if (t.isSymbol('%'))
            op = Op::Mod;
        else
            return left;
        DepthGuard guard(m_depth, t);
        next();
        auto e = newExpr(ExprKind::Binary, t);
        e->op = op;
        append(*e, std::move(left));
        append(*e, parseUnary());
        left = std::move(e);
    }
}

ExprPtr Parser::parseUnary() {
    const Token& t = peek();
    if (t.isSymbol('-') || t.isSymbol('+') || t.isSymbol('~')) {
        DepthGuard guard(m_depth, t);
        next();
        ExprPtr operand = parseUnary();
        // "-1" is one number, so exec arguments and defaults stay literals
        if (t.isSymbol('-') && operand->kind == ExprKind::Number &&
            !operand->text.startsWith(QLatin1Char('-'))) {
            operand->text.prepend(QLatin1Char('-'));
            operand->line = t.line;
            operand->column = t.column;
            return operand;
        }
        auto e = newExpr(ExprKind::Unary, t);
        e->op = t.isSymbol('-') ? Op::Neg : t.isSymbol('+') ? Op::Plus : Op::BitNot;
        append(*e, std::move(operand));
        return e;
    }
    return parsePrimary();
}

bool Parser::canStartExpression(const Token& t) const {
    switch (t.kind) {
        case TokenKind::String:
        case TokenKind::Number:
        case TokenKind::Param:
        case TokenKind::Variable:
        case TokenKind::QuotedIdentifier:
            return true;
        case TokenKind::Symbol:
            return t.isSymbol('(') || t.isSymbol('-') || t.isSymbol('+') || t.isSymbol('~');
        case TokenKind::Identifier:
            return !isReservedWord(t.text) || t.isKeyword(QLatin1String("null")) ||
                   t.isKeyword(QLatin1String("case")) || t.isKeyword(QLatin1String("convert")) ||
                   t.isKeyword(QLatin1String("exists")) || t.isKeyword(QLatin1String("not"));
        case TokenKind::End:
            return false;
    }
    return false;
}

ExprPtr Parser::parsePrimary() {
    const Token& t = peek();
    DepthGuard guard(m_depth, t);
    switch (t.kind) {
        case TokenKind::Number: {
            next();
            auto e = newExpr(ExprKind::Number, t);
            e->text = t.text;
            return e;
        }
        case TokenKind::String: {
            next();
            auto e = newExpr(ExprKind::String, t);
            e->text = t.text;
            return e;
        }
        case TokenKind::Param: {
            // Create statements are kept by the database: nothing to bind there.
            if (m_current->kind != Stmt::Kind::Select && m_current->kind != Stmt::Kind::Insert &&
                m_current->kind != Stmt::Kind::Update && m_current->kind != Stmt::Kind::Delete &&
                m_current->kind != Stmt::Kind::Exec)
                throwUnsupportedSyntax(QLatin1Char(':') + t.text, t.line, t.column);
            next();
            auto e = newExpr(ExprKind::Param, t);
            e->text = t.text;
            e->paramIndex = useParam(t.text);
            return e;
        }
        case TokenKind::Variable: {
            next();
            if (t.text.startsWith(QLatin1String("@@")))
                throwUnsupportedSyntax(t.text, t.line, t.column);
            auto e = newExpr(ExprKind::Variable, t);
            e->text = t.text;
            return e;
        }
        case TokenKind::Symbol:
            if (t.isSymbol('(')) {
                if (startsSelect(1)) {
                    next();
                    auto e = newExpr(ExprKind::Subquery, t);
                    e->select = parseSelect();
                    raise(*e, e->select.get());
                    expectSymbol(')');
                    return e;
                }
                next();
                ExprPtr inner = parseExpr();
                expectSymbol(')');
                return inner;
            }
            syntaxError(t);
        case TokenKind::QuotedIdentifier:
            return parseNameOrCall();
        case TokenKind::Identifier:
            break;
        case TokenKind::End:
            syntaxError(t);
    }

    if (t.isKeyword(QLatin1String("null"))) {
        next();
        return newExpr(ExprKind::Null, t);
    }
    if (t.isKeyword(QLatin1String("case"))) {
        next();
        return parseCase(t);
    }
    if (t.isKeyword(QLatin1String("convert")) || t.isKeyword(QLatin1String("try_convert"))) {
        if (t.isKeyword(QLatin1String("try_convert")))
            throwUnsupportedSyntax(t.text, t.line, t.column);
        next();
        return parseConvert(t, false);
    }
    if (t.isKeyword(QLatin1String("cast")) && peek(1).isSymbol('(')) {
        next();
        return parseConvert(t, true);
    }
    if (t.isKeyword(QLatin1String("exists"))) {
        next();
        expectSymbol('(');
        auto e = newExpr(ExprKind::Exists, t);
        e->select = parseSelect();
        raise(*e, e->select.get());
        expectSymbol(')');
        return e;
    }
    if (t.isKeyword(QLatin1String("current_timestamp"))) {
        next();
        auto e = newExpr(ExprKind::Call, t);
        e->text = QStringLiteral("getdate");
        return e;
    }
    if (isReservedWord(t.text) &&
        !(peek(1).isSymbol('(') && inList(t.text, kFunctionWords, std::size(kFunctionWords))))
        syntaxError(t);
    return parseNameOrCall();
}

ExprPtr Parser::parseNameOrCall() {
    const Token& first = peek();
    QStringList parts;
    if (first.kind == TokenKind::Identifier && isReservedWord(first.text)) {
        next();  // left(, right(: reserved words that name functions
        parts << first.text;
    } else {
        parts << expectName();
    }
    while (peek().isSymbol('.') && !peek(1).isSymbol('*')) {
        next();
        parts << expectName();
    }
    if (peek().isSymbol('(')) {
        next();
        auto e = newExpr(ExprKind::Call, first);
        e->text = parts.last();
        if (parts.size() > 1) e->qualifier = parts[parts.size() - 2];
        if (peek().isSymbol('*')) {
            next();
            e->star = true;
        } else if (!peek().isSymbol(')')) {
            if (acceptKeyword("distinct"))
                e->distinct = true;
            else
                acceptKeyword("all");
            do append(*e, parseExpr());
            while (acceptSymbol(','));
        }
        expectSymbol(')');
        if (isKeyword(0, "over") || isKeyword(0, "within"))
            throwUnsupportedSyntax(peek().text, peek().line, peek().column);
        return e;
    }
    auto e = newExpr(ExprKind::Column, first);
    e->text = parts.last();
    if (parts.size() > 1) e->qualifier = parts[parts.size() - 2];
    return e;
}

ExprPtr Parser::parseCase(const Token& start) {
    auto e = newExpr(ExprKind::Case, start);
    if (!isKeyword(0, "when")) {
        e->hasBase = true;
        append(*e, parseExpr());
    }
    if (!isKeyword(0, "when")) syntaxError(peek(), QStringLiteral("缺少 WHEN"));
    while (acceptKeyword("when")) {
        append(*e, parseExpr());
        expectKeyword("then");
        append(*e, parseExpr());
    }
    if (acceptKeyword("else")) {
        e->hasElse = true;
        append(*e, parseExpr());
    }
    expectKeyword("end");
    return e;
}

ExprPtr Parser::parseConvert(const Token& start, bool isCast) {
    auto e = newExpr(ExprKind::Convert, start);
    expectSymbol('(');
    if (isCast) {
        append(*e, parseExpr());
        expectKeyword("as");
        e->type = parseType();
    } else {
        e->type = parseType();
        expectSymbol(',');
        append(*e, parseExpr());
        if (acceptSymbol(',')) {
            const Token& s = peek();
            append(*e, parseExpr());
            bool ok = false;
            if (e->args.back()->kind == ExprKind::Number)
                e->style = e->args.back()->text.toInt(&ok);
            if (!ok) throwUnsupportedSyntax(s.sourceText(m_source), s.line, s.column);
        }
    }
    expectSymbol(')');
    return e;
}

}  // namespace md::sql
