// The SQLite printer: the analysed tree as SQLite text. Conversions and the
// behaviour SQLite lacks go through the md_ functions of sqliteruntime.cpp.
#include "tsql/dialect.h"
#include "tsql/sqlitepasses.h"
#include "tsql/tsqlerror.h"

#include <algorithm>
#include <cstring>

namespace md::sql {

using namespace ast;

namespace {

const char* const kSqliteKeywords[] = {
    "abort", "action", "add", "after", "all", "alter", "always", "analyze", "and", "as", "asc", "attach",
    "autoincrement", "before", "begin", "between", "by", "cascade", "case", "cast", "check", "collate",
    "column", "commit", "conflict", "constraint", "create", "cross", "current", "current_date",
    "current_time", "current_timestamp", "database", "default", "deferrable", "deferred", "delete", "desc",
    "detach", "distinct", "do", "drop", "each", "else", "end", "escape", "except", "exclude", "exclusive",
    "exists", "explain", "fail", "filter", "first", "following", "for", "foreign", "from", "full",
    "generated", "glob", "group", "groups", "having", "if", "ignore", "immediate", "in", "index", "indexed",
    "initially", "inner", "insert", "instead", "intersect", "into", "is", "isnull", "join", "key", "last",
    "left", "like", "limit", "match", "materialized", "natural", "no", "not", "nothing", "notnull", "null",
    "nulls", "of", "offset", "on", "or", "order", "others", "outer", "over", "partition", "plan", "pragma",
    "preceding", "primary", "query", "raise", "range", "recursive", "references", "regexp", "reindex",
    "release", "rename", "replace", "restrict", "returning", "right", "rollback", "row", "rows", "savepoint",
    "select", "set", "table", "temp", "temporary", "then", "ties", "to", "transaction", "trigger",
    "unbounded", "union", "unique", "update", "using", "vacuum", "values", "view", "virtual", "when",
    "where", "window", "with", "without",
};

bool isSqliteKeyword(const QString& word)
{
    if (word.size() >= 24) return false;
    char buffer[24];
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u >= 0x80) return false;
        buffer[i] = char(u >= 'A' && u <= 'Z' ? u + 32 : u);
    }
    buffer[word.size()] = 0;
    return std::binary_search(std::begin(kSqliteKeywords), std::end(kSqliteKeywords),
                              static_cast<const char*>(buffer),
                              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

bool needsQuotes(const QString& name)
{
    if (name.isEmpty()) return true;
    const char16_t first = name[0].unicode();
    if (first >= '0' && first <= '9') return true;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool plain = u >= 0x80 ? !c.isSpace()
                                     : (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                                           u == '_' || u == '$';
        if (!plain) return true;
    }
    return isSqliteKeyword(name);
}

enum Prec { kOr = 1, kAnd = 2, kNot = 3, kEquality = 4, kRelation = 5, kBits = 7, kAdd = 8, kMul = 9,
            kConcat = 10, kUnary = 11, kPrimary = 12 };

// The precedence of the expression's own operator; COLLATE aside.
int basePrecedence(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Or: return kOr;
    case ExprKind::And: return kAnd;
    case ExprKind::Not: return kNot;
    case ExprKind::Compare:
        return e.op == Op::Eq || e.op == Op::Ne ? kEquality : kRelation;
    case ExprKind::Like:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::IsNull:
    case ExprKind::Between:
        return kEquality;
    case ExprKind::Binary:
        switch (e.op) {
        case Op::Add:
        case Op::Sub: return kAdd;
        case Op::Mul:
        case Op::Div:
        case Op::Mod: return kMul;
        case Op::Concat: return kConcat;
        case Op::BitAnd:
        case Op::BitOr: return kBits;
        default: return kPrimary;  // printed as a function call
        }
    case ExprKind::Unary: return kUnary;
    case ExprKind::Number: return e.text.startsWith(QLatin1Char('-')) ? kUnary : kPrimary;
    default: return kPrimary;
    }
}

int precedenceOf(const Expr& e) { return e.collateNoCase ? kUnary : basePrecedence(e); }

// The declared type of a column as written, so that result columns report it;
// "(max)" is no SQLite type syntax.
QString declaredType(const TypeRef& type) { return type.length == -1 ? type.name : type.text(); }

const char* compareText(Op op)
{
    switch (op) {
    case Op::Eq: return " = ";
    case Op::Ne: return " <> ";
    case Op::Lt: return " < ";
    case Op::Gt: return " > ";
    case Op::Le: return " <= ";
    case Op::Ge: return " >= ";
    default: return " ? ";
    }
}

class Printer {
public:
    explicit Printer(QVector<int>* order) : m_order(order) {}

    QString takeText() { return std::move(m_out); }

    void statement(const Stmt& s)
    {
        switch (s.kind) {
        case Stmt::Kind::Select: select(*static_cast<const SelectStmt&>(s).select); break;
        case Stmt::Kind::Insert: insert(static_cast<const InsertStmt&>(s)); break;
        case Stmt::Kind::Update: update(static_cast<const UpdateStmt&>(s)); break;
        case Stmt::Kind::Delete: remove(static_cast<const DeleteStmt&>(s)); break;
        case Stmt::Kind::CreateTable: createTable(static_cast<const CreateTableStmt&>(s)); break;
        case Stmt::Kind::CreateView: createView(static_cast<const CreateViewStmt&>(s)); break;
        case Stmt::Kind::CreateIndex: createIndex(static_cast<const CreateIndexStmt&>(s)); break;
        case Stmt::Kind::Drop: drop(static_cast<const DropStmt&>(s)); break;
        case Stmt::Kind::CreateFunction:  // kept in the catalog and inlined where called
        case Stmt::Kind::Exec:            // run by the connection
            break;
        }
    }

    void expr(const Expr& e, int minPrecedence = 0)
    {
        const bool parens = precedenceOf(e) < minPrecedence;
        if (parens) m_out += QLatin1Char('(');
        if (e.collateNoCase) {
            // "a + b COLLATE NOCASE" would bind to b alone
            const bool inner = basePrecedence(e) < kPrimary;
            if (inner) m_out += QLatin1Char('(');
            exprPlain(e);
            if (inner) m_out += QLatin1Char(')');
            m_out += QLatin1String(" COLLATE NOCASE");
        } else {
            exprPlain(e);
        }
        if (parens) m_out += QLatin1Char(')');
    }

private:
    void ident(const QString& name)
    {
        if (!needsQuotes(name)) {
            m_out += name;
            return;
        }
        m_out += QLatin1Char('"');
        for (QChar c : name) {
            if (c == QLatin1Char('"')) m_out += QLatin1Char('"');
            m_out += c;
        }
        m_out += QLatin1Char('"');
    }

    void string(const QString& value)
    {
        m_out += QLatin1Char('\'');
        for (QChar c : value) {
            if (c == QLatin1Char('\'')) m_out += QLatin1Char('\'');
            m_out += c;
        }
        m_out += QLatin1Char('\'');
    }

    void list(const std::vector<ExprPtr>& items, size_t from = 0)
    {
        for (size_t i = from; i < items.size(); ++i) {
            if (i > from) m_out += QLatin1String(", ");
            expr(*items[i]);
        }
    }

    void call(const char* name, std::initializer_list<const Expr*> args)
    {
        m_out += QLatin1String(name);
        m_out += QLatin1Char('(');
        bool first = true;
        for (const Expr* a : args) {
            if (!first) m_out += QLatin1String(", ");
            first = false;
            expr(*a);
        }
        m_out += QLatin1Char(')');
    }

    void exprPlain(const Expr& e);
    void binary(const Expr& e);
    void functionCall(const Expr& e);
    void convert(const Expr& e);

    void select(const Select& s)
    {
        core(s);
        for (const Select::Part& part : s.parts) {
            switch (part.op) {
            case SetOp::Union: m_out += QLatin1String(" UNION "); break;
            case SetOp::UnionAll: m_out += QLatin1String(" UNION ALL "); break;
            case SetOp::Except: m_out += QLatin1String(" EXCEPT "); break;
            case SetOp::Intersect: m_out += QLatin1String(" INTERSECT "); break;
            }
            core(*part.select);
        }
        if (!s.orderBy.empty()) {
            m_out += QLatin1String(" ORDER BY ");
            for (size_t i = 0; i < s.orderBy.size(); ++i) {
                if (i) m_out += QLatin1String(", ");
                expr(*s.orderBy[i].expr);
                if (s.orderBy[i].desc) m_out += QLatin1String(" DESC");
            }
        }
        if (s.top && s.parts.empty()) {
            m_out += QLatin1String(" LIMIT ");
            expr(*s.top, kUnary);
        }
    }

    void core(const Select& s)
    {
        m_out += s.distinct ? QLatin1String("SELECT DISTINCT ") : QLatin1String("SELECT ");
        for (size_t i = 0; i < s.items.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            expr(*s.items[i].expr);
            if (!s.items[i].alias.isEmpty()) {
                m_out += QLatin1String(" AS ");
                ident(s.items[i].alias);
            }
        }
        if (!s.from.empty()) {
            m_out += QLatin1String(" FROM ");
            from(s.from);
        }
        if (s.where) {
            m_out += QLatin1String(" WHERE ");
            expr(*s.where);
        }
        if (!s.groupBy.empty()) {
            m_out += QLatin1String(" GROUP BY ");
            list(s.groupBy);
        }
        if (s.having) {
            m_out += QLatin1String(" HAVING ");
            expr(*s.having);
        }
    }

    void from(const std::vector<TableRefPtr>& sources)
    {
        for (size_t i = 0; i < sources.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            tableRef(*sources[i]);
        }
    }

    void tableRef(const TableRef& ref)
    {
        switch (ref.kind) {
        case TableRef::Kind::Table:
            ident(ref.name);
            break;
        case TableRef::Kind::Function:
            ident(ref.name);
            m_out += QLatin1Char('(');
            list(ref.args);
            m_out += QLatin1Char(')');
            break;
        case TableRef::Kind::Derived:
            m_out += QLatin1Char('(');
            select(*ref.select);
            m_out += QLatin1Char(')');
            break;
        case TableRef::Kind::Join: {
            tableRef(*ref.left);
            static const char* const kJoins[] = {" JOIN ", " LEFT JOIN ", " RIGHT JOIN ", " FULL JOIN ", " CROSS JOIN "};
            m_out += QLatin1String(kJoins[int(ref.joinType)]);
            const bool nested = ref.right->kind == TableRef::Kind::Join;
            if (nested) m_out += QLatin1Char('(');
            tableRef(*ref.right);
            if (nested) m_out += QLatin1Char(')');
            if (ref.on) {
                m_out += QLatin1String(" ON ");
                expr(*ref.on);
            }
            return;
        }
        }
        if (!ref.alias.isEmpty()) {
            m_out += QLatin1Char(' ');
            ident(ref.alias);
        }
    }

    void insert(const InsertStmt& s)
    {
        m_out += QLatin1String("INSERT INTO ");
        ident(s.info ? s.info->name : s.table);
        if (!s.columns.isEmpty()) {
            m_out += QLatin1String(" (");
            for (int i = 0; i < s.columns.size(); ++i) {
                if (i) m_out += QLatin1String(", ");
                ident(s.columns[i]);
            }
            m_out += QLatin1Char(')');
        }
        if (s.defaultValues) {
            m_out += QLatin1String(" DEFAULT VALUES");
        } else if (s.select) {
            m_out += QLatin1Char(' ');
            select(*s.select);
        } else {
            m_out += QLatin1String(" VALUES ");
            for (size_t r = 0; r < s.rows.size(); ++r) {
                if (r) m_out += QLatin1String(", ");
                m_out += QLatin1Char('(');
                list(s.rows[r]);
                m_out += QLatin1Char(')');
            }
        }
    }

    void update(const UpdateStmt& s)
    {
        m_out += QLatin1String("UPDATE ");
        ident(s.targetTable.isEmpty() ? s.table : s.targetTable);
        if (!s.printAlias.isEmpty()) {
            m_out += QLatin1String(" AS ");
            ident(s.printAlias);
        }
        m_out += QLatin1String(" SET ");
        if (s.setRow) {
            m_out += QLatin1Char('(');
            for (size_t i = 0; i < s.sets.size(); ++i) {
                if (i) m_out += QLatin1String(", ");
                ident(s.sets[i].column);
            }
            m_out += QLatin1String(") = (");
            select(*s.setRow);
            m_out += QLatin1Char(')');
        } else {
            for (size_t i = 0; i < s.sets.size(); ++i) {
                if (i) m_out += QLatin1String(", ");
                ident(s.sets[i].column);
                m_out += QLatin1String(" = ");
                expr(*s.sets[i].value);
            }
        }
        if (!s.from.empty()) {
            m_out += QLatin1String(" FROM ");
            from(s.from);
        }
        if (s.where) {
            m_out += QLatin1String(" WHERE ");
            expr(*s.where);
        }
    }

    void remove(const DeleteStmt& s)
    {
        m_out += QLatin1String("DELETE FROM ");
        ident(s.targetTable.isEmpty() ? s.table : s.targetTable);
        if (s.where) {
            m_out += QLatin1String(" WHERE ");
            expr(*s.where);
        }
    }

    void columnNames(const QStringList& names)
    {
        m_out += QLatin1Char('(');
        for (int i = 0; i < names.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            ident(names[i]);
        }
        m_out += QLatin1Char(')');
    }

    void createTable(const CreateTableStmt& s);

    void createView(const CreateViewStmt& s)
    {
        m_out += QLatin1String("CREATE VIEW ");
        ident(s.name);
        if (!s.columns.isEmpty()) {
            m_out += QLatin1Char(' ');
            columnNames(s.columns);
        }
        m_out += QLatin1String(" AS ");
        select(*s.select);
    }

    void createIndex(const CreateIndexStmt& s)
    {
        m_out += s.unique ? QLatin1String("CREATE UNIQUE INDEX ") : QLatin1String("CREATE INDEX ");
        ident(s.name);
        m_out += QLatin1String(" ON ");
        ident(s.table);
        m_out += QLatin1String(" (");
        for (int i = 0; i < s.columns.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            ident(s.columns[i]);
            if (i < s.descending.size() && s.descending[i]) m_out += QLatin1String(" DESC");
        }
        m_out += QLatin1Char(')');
    }

    void drop(const DropStmt& s)
    {
        static const char* const kWhat[] = {"DROP TABLE ", "DROP VIEW ", "", "DROP INDEX "};
        if (s.what == DropStmt::What::Function || s.names.isEmpty()) return;
        m_out += QLatin1String(kWhat[int(s.what)]);
        if (s.ifExists) m_out += QLatin1String("IF EXISTS ");
        ident(s.names.first());
    }

    QString m_out;
    QVector<int>* m_order;
};

void Printer::exprPlain(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Null:
        m_out += QLatin1String("NULL");
        return;
    case ExprKind::String:
        string(e.text);
        return;
    case ExprKind::Number:
        m_out += e.text;
        return;
    case ExprKind::Column:
        if (!e.qualifier.isEmpty()) {
            ident(e.qualifier);
            m_out += QLatin1Char('.');
        }
        ident(e.text);
        return;
    case ExprKind::Star:
        if (!e.qualifier.isEmpty()) {
            ident(e.qualifier);
            m_out += QLatin1Char('.');
        }
        m_out += QLatin1Char('*');
        return;
    case ExprKind::Param:
        m_out += QLatin1Char('?') + QString::number(e.paramIndex + 1);
        if (m_order) m_order->push_back(e.paramIndex);
        return;
    case ExprKind::Variable:
        throwTranslateError(QStringLiteral("必须声明标量变量 '%1'").arg(e.text), e.line, e.column);
    case ExprKind::Unary: {
        m_out += e.op == Op::Neg ? QLatin1Char('-') : e.op == Op::BitNot ? QLatin1Char('~') : QLatin1Char('+');
        const qsizetype at = m_out.size();
        expr(*e.args[0], kUnary);
        if (m_out.mid(at, 1) == QLatin1String("-") || m_out.mid(at, 1) == QLatin1String("+"))
            m_out.insert(at, QLatin1Char(' '));  // "- -1", never the comment "--1"
        return;
    }
    case ExprKind::Binary:
        binary(e);
        return;
    case ExprKind::Compare:
        expr(*e.args[0], precedenceOf(e));
        m_out += QLatin1String(compareText(e.op));
        expr(*e.args[1], precedenceOf(e) + 1);
        return;
    case ExprKind::And:
    case ExprKind::Or:
        for (size_t i = 0; i < e.args.size(); ++i) {
            if (i) m_out += e.kind == ExprKind::And ? QLatin1String(" AND ") : QLatin1String(" OR ");
            expr(*e.args[i], precedenceOf(e));
        }
        return;
    case ExprKind::Not:
        m_out += QLatin1String("NOT ");
        expr(*e.args[0], kNot);
        return;
    case ExprKind::Like:
        expr(*e.args[0], kRelation);
        m_out += e.negated ? QLatin1String(" NOT LIKE ") : QLatin1String(" LIKE ");
        expr(*e.args[1], kRelation);
        if (e.args.size() > 2) {
            m_out += QLatin1String(" ESCAPE ");
            expr(*e.args[2], kRelation);
        }
        return;
    case ExprKind::InList:
        expr(*e.args[0], kRelation);
        m_out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        list(e.args, 1);
        m_out += QLatin1Char(')');
        return;
    case ExprKind::InSelect:
        expr(*e.args[0], kRelation);
        m_out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        select(*e.select);
        m_out += QLatin1Char(')');
        return;
    case ExprKind::Exists:
        m_out += QLatin1String("EXISTS (");
        select(*e.select);
        m_out += QLatin1Char(')');
        return;
    case ExprKind::IsNull:
        expr(*e.args[0], kRelation);
        m_out += e.negated ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL");
        return;
    case ExprKind::Between:
        expr(*e.args[0], kRelation);
        m_out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
        expr(*e.args[1], kRelation);
        m_out += QLatin1String(" AND ");
        expr(*e.args[2], kRelation);
        return;
    case ExprKind::Case: {
        m_out += QLatin1String("CASE");
        size_t i = 0;
        if (e.hasBase) {
            m_out += QLatin1Char(' ');
            expr(*e.args[i++]);
        }
        const size_t whenEnd = e.args.size() - (e.hasElse ? 1 : 0);
        for (; i < whenEnd; i += 2) {
            m_out += QLatin1String(" WHEN ");
            expr(*e.args[i]);
            m_out += QLatin1String(" THEN ");
            expr(*e.args[i + 1]);
        }
        if (e.hasElse) {
            m_out += QLatin1String(" ELSE ");
            expr(*e.args.back());
        }
        m_out += QLatin1String(" END");
        return;
    }
    case ExprKind::Subquery:
        m_out += QLatin1Char('(');
        select(*e.select);
        m_out += QLatin1Char(')');
        return;
    case ExprKind::Call:
        functionCall(e);
        return;
    case ExprKind::Convert:
        convert(e);
        return;
    }
}

void Printer::binary(const Expr& e)
{
    const Expr& l = *e.args[0];
    const Expr& r = *e.args[1];
    const int p = precedenceOf(e);
    const char* op = nullptr;
    switch (e.op) {
    case Op::Add: op = " + "; break;
    case Op::Sub: op = " - "; break;
    case Op::Mul: op = " * "; break;
    case Op::Div: op = " / "; break;
    case Op::Mod: op = " % "; break;
    case Op::Concat: op = " || "; break;
    case Op::BitAnd: op = " & "; break;
    case Op::BitOr: op = " | "; break;
    case Op::DynAdd:
        call("md_add", {&l, &r});
        return;
    case Op::BitXor:  // SQLite has no xor: (a | b) - (a & b)
        m_out += QLatin1String("((");
        expr(l, kBits);
        m_out += QLatin1String(" | ");
        expr(r, kBits + 1);
        m_out += QLatin1String(") - (");
        expr(l, kBits);
        m_out += QLatin1String(" & ");
        expr(r, kBits + 1);
        m_out += QLatin1String("))");
        return;
    default: op = " ? "; break;
    }
    expr(l, p);
    m_out += QLatin1String(op);
    expr(r, p + 1);
}

void Printer::functionCall(const Expr& e)
{
    const QString name = e.text.toLower();
    const auto arg = [&](size_t i) -> const Expr& { return *e.args[i]; };
    const size_t n = e.args.size();
    if (name == QLatin1String("isnull") && n == 2) return call("ifnull", {&arg(0), &arg(1)});
    if ((name == QLatin1String("getdate") || name == QLatin1String("sysdatetime")) && n == 0)
        return call("md_getdate", {});
    if (name == QLatin1String("getutcdate") && n == 0) return call("md_getutcdate", {});
    if (name == QLatin1String("newid") && n == 0) return call("md_newid", {});
    if (name == QLatin1String("year") && n == 1) return call("md_year", {&arg(0)});
    if (name == QLatin1String("month") && n == 1) return call("md_month", {&arg(0)});
    if (name == QLatin1String("day") && n == 1) return call("md_day", {&arg(0)});
    if (name == QLatin1String("len") && n == 1) {
        // trailing blanks do not count, as on SQL Server
        m_out += QLatin1String("length(rtrim(");
        expr(arg(0));
        m_out += QLatin1String("))");
        return;
    }
    if (name == QLatin1String("left") && n == 2) {
        m_out += QLatin1String("substr(");
        expr(arg(0));
        m_out += QLatin1String(", 1, ");
        expr(arg(1));
        m_out += QLatin1Char(')');
        return;
    }
    if (name == QLatin1String("right") && n == 2) return call("md_right", {&arg(0), &arg(1)});
    if (name == QLatin1String("substring") && n == 3) return call("substr", {&arg(0), &arg(1), &arg(2)});
    if (name == QLatin1String("charindex") && (n == 2 || n == 3)) {
        if (n == 2) return call("md_charindex", {&arg(0), &arg(1)});
        return call("md_charindex", {&arg(0), &arg(1), &arg(2)});
    }
    if (name == QLatin1String("ceiling") && n == 1) return call("ceil", {&arg(0)});
    if (name == QLatin1String("avg") && n == 1 && !e.distinct &&
        (arg(0).valueType == SqlType::Integer || arg(0).valueType == SqlType::Bit)) {
        // the average of integers is an integer on SQL Server
        m_out += QLatin1String("CAST(avg(");
        expr(arg(0));
        m_out += QLatin1String(") AS INTEGER)");
        return;
    }
    static const char* const kSame[] = {"abs", "avg", "coalesce", "count", "floor", "lower", "ltrim", "max",
                                        "min", "nullif", "replace", "round", "rtrim", "sum", "upper"};
    bool known = false;
    for (const char* k : kSame) known = known || name == QLatin1String(k);
    if (known) m_out += name;
    else ident(e.text);  // an unknown function; SQLite will say so when it runs
    m_out += QLatin1Char('(');
    if (e.star) m_out += QLatin1Char('*');
    if (e.distinct) m_out += QLatin1String("DISTINCT ");
    list(e.args);
    m_out += QLatin1Char(')');
}

void Printer::convert(const Expr& e)
{
    const Expr& v = *e.args[0];
    const SqlType from = v.valueType;
    switch (e.type.type) {
    case SqlType::DateTime:
        if (from == SqlType::DateTime) return expr(v);
        return call("md_datetime", {&v});
    case SqlType::Date:
        if (from == SqlType::Date) return expr(v);
        return call("md_date", {&v});
    case SqlType::Time:
        if (from == SqlType::Time) return expr(v);
        return call("md_time", {&v});
    case SqlType::Integer:
        if (from == SqlType::Integer) return expr(v);
        return call("md_int", {&v});
    case SqlType::Bit:
        if (from == SqlType::Bit) return expr(v);
        return call("md_bit", {&v});
    case SqlType::Decimal:
        if (from == SqlType::Integer || from == SqlType::Bit) return expr(v);
        m_out += QLatin1String("md_decimal(");
        expr(v);
        m_out += QStringLiteral(", %1)").arg(e.type.scale);
        return;
    case SqlType::Float:
        if (from == SqlType::Float || from == SqlType::Integer || from == SqlType::Decimal) return expr(v);
        return call("md_float", {&v});
    case SqlType::Text: {
        // No length means 30 characters, as SQL Server's convert(varchar, x).
        const int length = e.type.length == 0 ? 30 : qMax(e.type.length, 0);
        if (from == SqlType::DateTime || from == SqlType::Date || from == SqlType::Time) {
            m_out += QLatin1String("md_datestr(");
            expr(v);
            m_out += QStringLiteral(", %1, %2)").arg(e.style).arg(length);
        } else if (from == SqlType::Text) {
            if (length == 0) return expr(v);
            m_out += QLatin1String("substr(");
            expr(v);
            m_out += QStringLiteral(", 1, %1)").arg(length);
        } else {
            m_out += QLatin1String("md_varchar(");
            expr(v);
            m_out += QStringLiteral(", %1, %2)").arg(length).arg(from == SqlType::Float ? -2 : v.scale);
        }
        return;
    }
    case SqlType::Blob:
    case SqlType::Unknown:
        expr(v);
        return;
    }
}

void Printer::createTable(const CreateTableStmt& s)
{
    bool hasIdentity = false;
    QStringList keyColumns;
    for (const ColumnDef& c : s.columns) {
        hasIdentity = hasIdentity || c.identity;
        if (c.primaryKey && !c.identity) keyColumns << c.name.toLower();
    }
    for (const TableConstraint& c : s.constraints)
        if (c.kind == TableConstraint::Kind::PrimaryKey)
            for (const QString& name : c.columns) keyColumns << name.toLower();

    m_out += QLatin1String("CREATE TABLE ");
    ident(s.name);
    m_out += QLatin1String(" (");
    bool first = true;
    for (const ColumnDef& c : s.columns) {
        if (!first) m_out += QLatin1String(", ");
        first = false;
        ident(c.name);
        if (c.identity) {
            // The identity becomes the rowid: numbered by the engine, never reused.
            m_out += QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
            continue;
        }
        m_out += QLatin1Char(' ');
        // The declared type stays as written, so that result columns report it.
        m_out += declaredType(c.type);
        if (c.type.type == SqlType::Text) m_out += QLatin1String(" COLLATE NOCASE");
        if (c.notNull || keyColumns.contains(c.name.toLower())) m_out += QLatin1String(" NOT NULL");
        if (c.defaultValue) {
            m_out += QLatin1String(" DEFAULT (");
            expr(*c.defaultValue);
            m_out += QLatin1Char(')');
        }
        if (c.primaryKey) m_out += hasIdentity ? QLatin1String(" UNIQUE") : QLatin1String(" PRIMARY KEY");
        else if (c.unique) m_out += QLatin1String(" UNIQUE");
        if (c.check) {
            m_out += QLatin1String(" CHECK (");
            expr(*c.check);
            m_out += QLatin1Char(')');
        }
        if (!c.refTable.isEmpty()) {
            m_out += QLatin1String(" REFERENCES ");
            ident(c.refTable);
            if (!c.refColumns.isEmpty()) {
                m_out += QLatin1Char(' ');
                columnNames(c.refColumns);
            }
        }
    }
    for (const TableConstraint& c : s.constraints) {
        m_out += QLatin1String(", ");
        switch (c.kind) {
        case TableConstraint::Kind::PrimaryKey:
            m_out += hasIdentity ? QLatin1String("UNIQUE ") : QLatin1String("PRIMARY KEY ");
            columnNames(c.columns);
            break;
        case TableConstraint::Kind::Unique:
            m_out += QLatin1String("UNIQUE ");
            columnNames(c.columns);
            break;
        case TableConstraint::Kind::Check:
            m_out += QLatin1String("CHECK (");
            expr(*c.check);
            m_out += QLatin1Char(')');
            break;
        case TableConstraint::Kind::ForeignKey:
            m_out += QLatin1String("FOREIGN KEY ");
            columnNames(c.columns);
            m_out += QLatin1String(" REFERENCES ");
            ident(c.refTable);
            if (!c.refColumns.isEmpty()) {
                m_out += QLatin1Char(' ');
                columnNames(c.refColumns);
            }
            break;
        }
    }
    m_out += QLatin1Char(')');
}

class SqliteWriter : public DialectWriter {
public:
    void rewrite(Stmt& statement) override { rewriteForSqlite(statement); }

    QString print(const Stmt& statement, QVector<int>* placeholderOrder) override
    {
        Printer printer(placeholderOrder);
        printer.statement(statement);
        return printer.takeText();
    }

    QString printExpression(const Expr& expr) override
    {
        Printer printer(nullptr);
        printer.expr(expr);
        return printer.takeText();
    }
};

}  // namespace

std::unique_ptr<DialectWriter> makeSqliteWriter() { return std::make_unique<SqliteWriter>(); }

}  // namespace md::sql
