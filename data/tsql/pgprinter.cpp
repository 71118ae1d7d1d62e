// The PostgreSQL printer: the analysed tree as PostgreSQL text.
//
// How SQL Server's behaviour is kept (the database side is set up by
// pgruntime.cpp):
//  - names are case-insensitive: every identifier is printed in lower case, so
//    "ba_Area" and "ba_area" are one table; only the aliases of a statement's
//    own result keep their written case (quoted), because the windows show them;
//  - text compares ignoring case: text columns carry the collation md_ci, which
//    expressions inherit; text with no column behind it is given it here;
//  - like ignores case: ILIKE, on the database's plain collation (PostgreSQL
//    cannot match patterns under a case-insensitive collation);
//  - nulls sort lowest, as on SQL Server: ASC NULLS FIRST, DESC NULLS LAST;
//  - conversions SQL Server makes implicitly go through the md_ functions.
#include "tsql/catalog.h"
#include "tsql/dialect.h"
#include "tsql/pgpasses.h"
#include "tsql/tsqlerror.h"

#include <algorithm>
#include <cstring>

namespace md::sql {

using namespace ast;

namespace {

// Words PostgreSQL reserves in some position; quoting them is always safe.
const char* const kPgKeywords[] = {
    "all", "analyse", "analyze", "and", "any", "array", "as", "asc", "asymmetric", "authorization", "between",
    "bigint", "binary", "bit", "boolean", "both", "case", "cast", "char", "character", "check", "coalesce",
    "collate", "collation", "column", "concurrently", "constraint", "create", "cross", "current_catalog",
    "current_date", "current_role", "current_schema", "current_time", "current_timestamp", "current_user", "dec",
    "decimal", "default", "deferrable", "desc", "distinct", "do", "else", "end", "except", "exists", "extract",
    "false", "fetch", "float", "for", "foreign", "freeze", "from", "full", "grant", "greatest", "group",
    "grouping", "having", "ilike", "in", "initially", "inner", "inout", "int", "integer", "intersect",
    "interval", "into", "is", "isnull", "join", "lateral", "leading", "least", "left", "like", "limit",
    "localtime", "localtimestamp", "national", "natural", "nchar", "none", "normalize", "not", "notnull",
    "null", "nullif", "numeric", "offset", "on", "only", "or", "order", "out", "outer", "overlaps", "overlay",
    "placing", "position", "precision", "primary", "real", "references", "returning", "right", "row", "select",
    "session_user", "setof", "similar", "smallint", "some", "substring", "symmetric", "system_user", "table",
    "tablesample", "then", "time", "timestamp", "to", "trailing", "treat", "trim", "true", "union", "unique",
    "user", "using", "values", "varchar", "variadic", "verbose", "when", "where", "window", "with",
};

bool isPgKeyword(const QString& lower)
{
    if (lower.size() >= 24) return false;
    char buffer[24];
    for (qsizetype i = 0; i < lower.size(); ++i) {
        const char16_t u = lower[i].unicode();
        if (u >= 0x80) return false;
        buffer[i] = char(u);
    }
    buffer[lower.size()] = 0;
    return std::binary_search(std::begin(kPgKeywords), std::end(kPgKeywords), static_cast<const char*>(buffer),
                              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

bool needsQuotes(const QString& lower)
{
    if (lower.isEmpty()) return true;
    const char16_t first = lower[0].unicode();
    if (first >= '0' && first <= '9') return true;
    for (QChar c : lower) {
        const char16_t u = c.unicode();
        const bool plain = u >= 0x80 ? !c.isSpace() : (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
        if (!plain) return true;
    }
    return isPgKeyword(lower);
}

// PostgreSQL's operator precedence, lowest first.
enum Prec { kOr = 1, kAnd = 2, kNot = 3, kIs = 4, kCompare = 5, kLikeIn = 6, kOther = 7, kAdd = 8, kMul = 9,
            kUnary = 11, kPrimary = 12 };

int precedenceOf(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::Or: return kOr;
    case ExprKind::And: return kAnd;
    case ExprKind::Not: return kNot;
    case ExprKind::IsNull: return kIs;
    case ExprKind::Compare: return kCompare;
    case ExprKind::Like:
    case ExprKind::InList:
    case ExprKind::InSelect:
    case ExprKind::Between:
        return kLikeIn;
    case ExprKind::Binary:
        switch (e.op) {
        case Op::Add:
        case Op::Sub: return kAdd;
        case Op::Mul:
        case Op::Div:
        case Op::Mod: return kMul;
        case Op::Concat:
        case Op::BitAnd:
        case Op::BitOr:
        case Op::BitXor: return kOther;
        case Op::DynAdd: return e.valueType == SqlType::Text || e.valueType == SqlType::Unknown ? kOther : kAdd;
        default: return kPrimary;
        }
    case ExprKind::Unary: return kUnary;
    case ExprKind::Number: return e.text.startsWith(QLatin1Char('-')) ? kUnary : kPrimary;
    default: return kPrimary;
    }
}

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

bool isNumeric(SqlType t)
{
    return t == SqlType::Integer || t == SqlType::Decimal || t == SqlType::Float || t == SqlType::Bit;
}

}  // namespace

// The PostgreSQL type of a T-SQL type. Text gets the case-insensitive collation
// from the table definition, not from here.
QString pgTypeName(const TypeRef& type)
{
    const QString& n = type.name;
    switch (type.type) {
    case SqlType::Text:
        if (n == QLatin1String("uniqueidentifier")) return QStringLiteral("varchar(36)");
        if (type.length > 0) return QStringLiteral("varchar(%1)").arg(type.length);
        if (type.length == 0 && (n == QLatin1String("varchar") || n == QLatin1String("nvarchar") ||
                                 n == QLatin1String("char") || n == QLatin1String("nchar")))
            return QStringLiteral("varchar(1)");
        return QStringLiteral("text");
    case SqlType::Integer:
        if (n == QLatin1String("bigint")) return QStringLiteral("bigint");
        if (n == QLatin1String("smallint") || n == QLatin1String("tinyint")) return QStringLiteral("smallint");
        return QStringLiteral("integer");
    case SqlType::Bit: return QStringLiteral("md_bit");
    case SqlType::Decimal:
        if (n == QLatin1String("money") || n == QLatin1String("smallmoney")) return QStringLiteral("md_money");
        if (type.length > 0) return QStringLiteral("numeric(%1,%2)").arg(type.length).arg(qMax(type.scale, 0));
        return QStringLiteral("numeric(18,0)");
    case SqlType::Float:
        return n == QLatin1String("real") ? QStringLiteral("real") : QStringLiteral("double precision");
    case SqlType::DateTime: return QStringLiteral("timestamp(0)");
    case SqlType::Date: return QStringLiteral("date");
    case SqlType::Time: return QStringLiteral("time(0)");
    case SqlType::Blob: return QStringLiteral("bytea");
    case SqlType::Unknown: break;
    }
    return QStringLiteral("text");
}

namespace {

class Printer {
public:
    explicit Printer(QVector<int>* order) : m_order(order) {}

    QString takeText() { return std::move(m_out); }

    void statement(const Stmt& s)
    {
        switch (s.kind) {
        case Stmt::Kind::Select:
            m_outermost = static_cast<const SelectStmt&>(s).select.get();
            select(*static_cast<const SelectStmt&>(s).select);
            break;
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
        // Text with no column behind it would compare on the plain collation.
        const bool collate = e.collateNoCase && (e.valueType == SqlType::Text || e.kind == ExprKind::Param);
        const int p = collate ? kUnary : precedenceOf(e);
        const bool parens = p < minPrecedence;
        if (parens) m_out += QLatin1Char('(');
        if (collate) {
            const bool inner = precedenceOf(e) < kPrimary;
            if (inner) m_out += QLatin1Char('(');
            exprPlain(e);
            if (inner) m_out += QLatin1Char(')');
            m_out += QLatin1String(" COLLATE md_ci");
        } else {
            exprPlain(e);
        }
        if (parens) m_out += QLatin1Char(')');
    }

private:
    void ident(const QString& name)
    {
        const QString lower = name.toLower();
        if (!needsQuotes(lower)) {
            m_out += lower;
            return;
        }
        quoted(lower);
    }

    void quoted(const QString& name)
    {
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

    // A text operand on the plain collation, for pattern and substring work.
    void plainCollation(const Expr& e)
    {
        expr(e, kUnary);
        if (e.valueType == SqlType::Text || e.kind == ExprKind::Column || e.valueType == SqlType::Unknown)
            m_out += QLatin1String(" COLLATE \"default\"");
    }

    void castTo(const Expr& e, const char* type)
    {
        m_out += QLatin1String("CAST(");
        expr(e);
        m_out += QLatin1String(" AS ");
        m_out += QLatin1String(type);
        m_out += QLatin1Char(')');
    }

    void exprPlain(const Expr& e);
    void binary(const Expr& e);
    void functionCall(const Expr& e);
    void convert(const Expr& e);
    void convertTo(const Expr& v, SqlType to, const TypeRef* type, int style);

    void select(const Select& s)
    {
        const bool outermost = &s == m_outermost;
        const bool parenBranches = !s.parts.empty();
        branch(s, outermost, parenBranches);
        for (const Select::Part& part : s.parts) {
            switch (part.op) {
            case SetOp::Union: m_out += QLatin1String(" UNION "); break;
            case SetOp::UnionAll: m_out += QLatin1String(" UNION ALL "); break;
            case SetOp::Except: m_out += QLatin1String(" EXCEPT "); break;
            case SetOp::Intersect: m_out += QLatin1String(" INTERSECT "); break;
            }
            branch(*part.select, false, true);
        }
        if (!s.orderBy.empty()) {
            m_out += QLatin1String(" ORDER BY ");
            for (size_t i = 0; i < s.orderBy.size(); ++i) {
                if (i) m_out += QLatin1String(", ");
                orderItem(s, *s.orderBy[i].expr, outermost);
                // Nulls are the lowest values on SQL Server.
                m_out += s.orderBy[i].desc ? QLatin1String(" DESC NULLS LAST") : QLatin1String(" NULLS FIRST");
            }
        }
        if (s.top && s.parts.empty()) {
            m_out += QLatin1String(" LIMIT ");
            expr(*s.top, kUnary);
        }
    }

    // A branch with TOP of a union is a parenthesised select of its own.
    void branch(const Select& s, bool outermost, bool inUnion)
    {
        const bool limited = inUnion && s.top;
        if (limited) m_out += QLatin1Char('(');
        core(s, outermost);
        if (limited) {
            m_out += QLatin1String(" LIMIT ");
            expr(*s.top, kUnary);
            m_out += QLatin1Char(')');
        }
    }

    // An ORDER BY name that is an alias of the result refers to it in its
    // printed spelling.
    void orderItem(const Select& s, const Expr& e, bool outermost)
    {
        if (outermost && e.kind == ExprKind::Column && e.qualifier.isEmpty()) {
            for (const SelectItem& item : s.items) {
                if (!item.alias.isEmpty() && item.alias.compare(e.text, Qt::CaseInsensitive) == 0) {
                    quoted(item.alias);
                    return;
                }
            }
        }
        expr(e);
    }

    void core(const Select& s, bool outermost)
    {
        m_out += s.distinct ? QLatin1String("SELECT DISTINCT ") : QLatin1String("SELECT ");
        for (size_t i = 0; i < s.items.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            const SelectItem& item = s.items[i];
            expr(*item.expr);
            if (!item.alias.isEmpty()) {
                m_out += QLatin1String(" AS ");
                // The statement's own result keeps the written case.
                if (outermost) quoted(item.alias);
                else ident(item.alias);
            } else if (item.expr->kind == ExprKind::Call && item.expr->star) {
                m_out += QLatin1String(" AS ");
                quoted(item.expr->text.toLower() + QStringLiteral("(*)"));
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
            if (ref.alias.isEmpty()) m_out += QStringLiteral(" md_d%1").arg(++m_derivedCount);
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
        // The new identity comes back with the insert: no second round trip.
        if (const ColumnInfo* identity = s.info ? s.info->identityColumn() : nullptr) {
            m_out += QLatin1String(" RETURNING ");
            ident(identity->name);
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
    const Select* m_outermost = nullptr;
    int m_derivedCount = 0;
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
        m_out += QLatin1Char('$') + QString::number(e.paramIndex + 1);
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
        // PostgreSQL's comparisons do not chain: both sides bind tighter.
        expr(*e.args[0], kCompare + 1);
        m_out += QLatin1String(compareText(e.op));
        expr(*e.args[1], kCompare + 1);
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
        plainCollation(*e.args[0]);
        m_out += e.negated ? QLatin1String(" NOT ILIKE ") : QLatin1String(" ILIKE ");
        expr(*e.args[1], kLikeIn + 1);
        m_out += QLatin1String(" ESCAPE ");
        if (e.args.size() > 2) expr(*e.args[2], kLikeIn + 1);
        else m_out += QLatin1String("''");  // a backslash is an ordinary character, as on SQL Server
        return;
    case ExprKind::InList:
        expr(*e.args[0], kLikeIn + 1);
        m_out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
        list(e.args, 1);
        m_out += QLatin1Char(')');
        return;
    case ExprKind::InSelect:
        expr(*e.args[0], kLikeIn + 1);
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
        expr(*e.args[0], kIs + 1);
        m_out += e.negated ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL");
        return;
    case ExprKind::Between:
        expr(*e.args[0], kLikeIn + 1);
        m_out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
        expr(*e.args[1], kLikeIn + 1);
        m_out += QLatin1String(" AND ");
        expr(*e.args[2], kLikeIn + 1);
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
    case Op::BitXor: op = " # "; break;
    case Op::DynAdd:
        // One side's type is open (mostly a parameter): the other side decides,
        // as SQL Server's parameter typing would; texts concatenate.
        op = p == kAdd ? " + " : " || ";
        break;
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
    if ((name == QLatin1String("isnull") && n == 2) || name == QLatin1String("coalesce")) {
        // PostgreSQL wants one type: the arguments take the result's.
        m_out += QLatin1String("coalesce(");
        for (size_t i = 0; i < n; ++i) {
            if (i) m_out += QLatin1String(", ");
            const Expr& a = arg(i);
            const bool differs = e.valueType != SqlType::Unknown && a.valueType != SqlType::Unknown &&
                                 a.valueType != e.valueType && a.kind != ExprKind::Null &&
                                 !(isNumeric(a.valueType) && isNumeric(e.valueType));
            if (differs) convertTo(a, e.valueType, nullptr, -1);
            else expr(a);
        }
        m_out += QLatin1Char(')');
        return;
    }
    if ((name == QLatin1String("getdate") || name == QLatin1String("sysdatetime")) && n == 0) {
        // The session runs in the workstation's time zone (set on connecting).
        m_out += QLatin1String("date_trunc('second', LOCALTIMESTAMP)");
        return;
    }
    if (name == QLatin1String("getutcdate") && n == 0) {
        m_out += QLatin1String("date_trunc('second', now() AT TIME ZONE 'UTC')");
        return;
    }
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
    if ((name == QLatin1String("left") || name == QLatin1String("right")) && n == 2) {
        m_out += name;
        m_out += QLatin1Char('(');
        expr(arg(0));
        m_out += QLatin1String(", ");
        castTo(arg(1), "integer");
        m_out += QLatin1Char(')');
        return;
    }
    if (name == QLatin1String("substring") && n == 3) return call("substr", {&arg(0), &arg(1), &arg(2)});
    if (name == QLatin1String("charindex") && (n == 2 || n == 3)) {
        if (n == 2) return call("md_charindex", {&arg(0), &arg(1)});
        return call("md_charindex", {&arg(0), &arg(1), &arg(2)});
    }
    if (name == QLatin1String("replace") && n == 3) {
        // substring search needs the plain collation; the result takes the first argument's
        m_out += QLatin1String("replace(");
        plainCollation(arg(0));
        m_out += QLatin1String(", ");
        expr(arg(1));
        m_out += QLatin1String(", ");
        expr(arg(2));
        m_out += QLatin1Char(')');
        return;
    }
    if (name == QLatin1String("ceiling") && n == 1) return call("ceil", {&arg(0)});
    if (name == QLatin1String("round") && n == 2) {
        // only numeric has a rounding to places
        m_out += QLatin1String("round(");
        castTo(arg(0), "numeric");
        m_out += QLatin1String(", ");
        castTo(arg(1), "integer");
        m_out += QLatin1Char(')');
        return;
    }
    if (name == QLatin1String("avg") && n == 1 && !e.distinct &&
        (arg(0).valueType == SqlType::Integer || arg(0).valueType == SqlType::Bit)) {
        // the average of integers is an integer on SQL Server
        m_out += QLatin1String("CAST(trunc(avg(");
        expr(arg(0));
        m_out += QLatin1String(")) AS integer)");
        return;
    }
    if ((name == QLatin1String("count") || name == QLatin1String("count_big")) && (e.star || n == 1)) {
        // count is an int on SQL Server, and the datasets read it as one
        m_out += QLatin1String("CAST(count(");
        if (e.star) m_out += QLatin1Char('*');
        if (e.distinct) m_out += QLatin1String("DISTINCT ");
        list(e.args);
        m_out += QLatin1String(") AS integer)");
        return;
    }
    static const char* const kSame[] = {"abs", "avg", "floor", "lower", "ltrim", "max",
                                        "min", "nullif", "rtrim", "sum", "upper"};
    bool known = false;
    for (const char* k : kSame) known = known || name == QLatin1String(k);
    if (known) m_out += name;
    else ident(e.text);  // an unknown function; PostgreSQL will say so when it runs
    m_out += QLatin1Char('(');
    if (e.star) m_out += QLatin1Char('*');
    if (e.distinct) m_out += QLatin1String("DISTINCT ");
    list(e.args);
    m_out += QLatin1Char(')');
}

void Printer::convert(const Expr& e) { convertTo(*e.args[0], e.type.type, &e.type, e.style); }

// The value converted as SQL Server's convert() does.
void Printer::convertTo(const Expr& v, SqlType to, const TypeRef* type, int style)
{
    const SqlType from = v.valueType;
    const bool fromText = from == SqlType::Text || from == SqlType::Unknown;
    switch (to) {
    case SqlType::DateTime:
        if (from == SqlType::DateTime) return expr(v);
        if (from == SqlType::Date) return castTo(v, "timestamp(0)");
        return call("md_datetime", {&v});
    case SqlType::Date:
        if (from == SqlType::Date) return expr(v);
        if (from == SqlType::DateTime) return castTo(v, "date");
        return call("md_date", {&v});
    case SqlType::Time:
        if (from == SqlType::Time) return expr(v);
        if (from == SqlType::DateTime) return castTo(v, "time(0)");
        return call("md_time", {&v});
    case SqlType::Integer:
        if (from == SqlType::Integer || from == SqlType::Bit) return expr(v);
        if (from == SqlType::Decimal || from == SqlType::Float) {
            // truncated, as SQL Server does, where a cast would round
            m_out += QLatin1String("CAST(trunc(");
            expr(v);
            m_out += QLatin1String(") AS integer)");
            return;
        }
        return call("md_int", {&v});
    case SqlType::Bit:
        if (from == SqlType::Bit) return expr(v);
        if (isNumeric(from)) {
            m_out += QLatin1String("CAST((");
            expr(v);
            m_out += QLatin1String(") <> 0 AS integer)");
            return;
        }
        return call("md_bit", {&v});
    case SqlType::Decimal: {
        if (from == SqlType::Integer || from == SqlType::Bit) return expr(v);
        const int scale = type ? type->scale : -1;
        m_out += QLatin1String("md_decimal(");
        expr(v);
        m_out += QStringLiteral(", %1)").arg(scale);
        return;
    }
    case SqlType::Float:
        if (from == SqlType::Float) return expr(v);
        if (isNumeric(from)) return castTo(v, "double precision");
        return call("md_float", {&v});
    case SqlType::Text: {
        // No length means 30 characters, as SQL Server's convert(varchar, x).
        const int length = !type || type->length == 0 ? 30 : qMax(type->length, 0);
        if (from == SqlType::DateTime || from == SqlType::Date || from == SqlType::Time) {
            m_out += QLatin1String("md_datestr(");
            expr(v);
            m_out += QStringLiteral(", %1, %2)").arg(style).arg(length);
        } else if (fromText) {
            if (length == 0) return expr(v);
            m_out += QLatin1String("left(");
            expr(v);
            m_out += QStringLiteral(", %1)").arg(length);
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
    m_out += QLatin1String("CREATE TABLE ");
    ident(s.name);
    m_out += QLatin1String(" (");
    bool first = true;
    for (const ColumnDef& c : s.columns) {
        if (!first) m_out += QLatin1String(", ");
        first = false;
        ident(c.name);
        m_out += QLatin1Char(' ');
        if (c.identity) {
            m_out += c.type.name == QLatin1String("bigint") ? QLatin1String("bigint") : QLatin1String("integer");
            m_out += QLatin1String(" GENERATED BY DEFAULT AS IDENTITY");
        } else {
            m_out += pgTypeName(c.type);
            if (c.type.type == SqlType::Text) m_out += QLatin1String(" COLLATE md_ci");
        }
        if (c.notNull) m_out += QLatin1String(" NOT NULL");
        if (c.defaultValue) {
            m_out += QLatin1String(" DEFAULT (");
            expr(*c.defaultValue);
            m_out += QLatin1Char(')');
        }
        if (c.primaryKey) m_out += QLatin1String(" PRIMARY KEY");
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
            m_out += QLatin1String("PRIMARY KEY ");
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

class PgWriter : public DialectWriter {
public:
    void rewrite(Stmt& statement) override { rewriteForPostgres(statement); }

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

std::unique_ptr<DialectWriter> makePostgresWriter() { return std::make_unique<PgWriter>(); }

}  // namespace md::sql
