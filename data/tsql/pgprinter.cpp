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
#include <algorithm>

#include "tsql/catalog.h"
#include "tsql/dialect.h"
#include "tsql/pgpasses.h"
#include "tsql/sqlprinter.h"

namespace md::sql {

using namespace ast;

namespace {

// Words PostgreSQL reserves in some position; quoting them is always safe.
const char* const kPgKeywords[] = {
    "all",
    "analyse",
    "analyze",
    "and",
    "any",
    "array",
    "as",
    "asc",
    "asymmetric",
    "authorization",
    "between",
    "bigint",
    "binary",
    "bit",
    "boolean",
    "both",
    "case",
    "cast",
    "char",
    "character",
    "check",
    "coalesce",
    "collate",
    "collation",
    "column",
    "concurrently",
    "constraint",
    "create",
    "cross",
    "current_catalog",
    "current_date",
    "current_role",
    "current_schema",
    "current_time",
    "current_timestamp",
    "current_user",
    "dec",
    "decimal",
    "default",
    "deferrable",
    "desc",
    "distinct",
    "do",
    "else",
    "end",
    "except",
    "exists",
    "extract",
    "false",
    "fetch",
    "float",
    "for",
    "foreign",
    "freeze",
    "from",
    "full",
    "grant",
    "greatest",
    "group",
    "grouping",
    "having",
    "ilike",
    "in",
    "initially",
    "inner",
    "inout",
    "int",
    "integer",
    "intersect",
    "interval",
    "into",
    "is",
    "isnull",
    "join",
    "lateral",
    "leading",
    "least",
    "left",
    "like",
    "limit",
    "localtime",
    "localtimestamp",
    "national",
    "natural",
    "nchar",
    "none",
    "normalize",
    "not",
    "notnull",
    "null",
    "nullif",
    "numeric",
    "offset",
    "on",
    "only",
    "or",
    "order",
    "out",
    "outer",
    "overlaps",
    "overlay",
    "placing",
    "position",
    "precision",
    "primary",
    "real",
    "references",
    "returning",
    "right",
    "row",
    "select",
    "session_user",
    "setof",
    "similar",
    "smallint",
    "some",
    "substring",
    "symmetric",
    "system_user",
    "table",
    "tablesample",
    "then",
    "time",
    "timestamp",
    "to",
    "trailing",
    "treat",
    "trim",
    "true",
    "union",
    "unique",
    "user",
    "using",
    "values",
    "varchar",
    "variadic",
    "verbose",
    "when",
    "where",
    "window",
    "with",
};

bool isNumeric(SqlType t) {
    return t == SqlType::Integer || t == SqlType::Decimal || t == SqlType::Float ||
           t == SqlType::Bit;
}

}  // namespace

// The PostgreSQL type of a T-SQL type. Text gets the case-insensitive collation
// from the table definition, not from here.
QString pgTypeName(const TypeRef& type) {
    const QString& n = type.name;
    switch (type.type) {
        case SqlType::Text:
            if (n == QLatin1String("uniqueidentifier")) return QStringLiteral("varchar(36)");
            if (type.length > 0) return QStringLiteral("varchar(%1)").arg(type.length);
            if (type.length == 0 &&
                (n == QLatin1String("varchar") || n == QLatin1String("nvarchar") ||
                 n == QLatin1String("char") || n == QLatin1String("nchar")))
                return QStringLiteral("varchar(1)");
            return QStringLiteral("text");
        case SqlType::Integer:
            if (n == QLatin1String("bigint")) return QStringLiteral("bigint");
            if (n == QLatin1String("smallint") || n == QLatin1String("tinyint"))
                return QStringLiteral("smallint");
            return QStringLiteral("integer");
        case SqlType::Bit:
            return QStringLiteral("md_bit");
        case SqlType::Decimal:
            if (n == QLatin1String("money") || n == QLatin1String("smallmoney"))
                return QStringLiteral("md_money");
            if (type.length > 0)
                return QStringLiteral("numeric(%1,%2)").arg(type.length).arg(qMax(type.scale, 0));
            return QStringLiteral("numeric(18,0)");
        case SqlType::Float:
            return n == QLatin1String("real") ? QStringLiteral("real")
                                              : QStringLiteral("double precision");
        case SqlType::DateTime:
            return QStringLiteral("timestamp(0)");
        case SqlType::Date:
            return QStringLiteral("date");
        case SqlType::Time:
            return QStringLiteral("time(0)");
        case SqlType::Blob:
            return QStringLiteral("bytea");
        case SqlType::Unknown:
            break;
    }
    return QStringLiteral("text");
}

namespace {

class PostgresPrinter : public SqlPrinter {
  public:
    using SqlPrinter::SqlPrinter;

  protected:
    // PostgreSQL's ranks between NOT and the arithmetic.
    static constexpr int kIs = 4, kCompare = 5, kLikeIn = 6, kOther = 7;

    int basePrecedence(const Expr& e) const override {
        switch (e.kind) {
            case ExprKind::Or:
                return kOr;
            case ExprKind::And:
                return kAnd;
            case ExprKind::Not:
                return kNot;
            case ExprKind::IsNull:
                return kIs;
            case ExprKind::Compare:
                return kCompare;
            case ExprKind::Like:
            case ExprKind::InList:
            case ExprKind::InSelect:
            case ExprKind::Between:
                return kLikeIn;
            case ExprKind::Binary:
                switch (e.op) {
                    case Op::Add:
                    case Op::Sub:
                        return kAdd;
                    case Op::Mul:
                    case Op::Div:
                    case Op::Mod:
                        return kMul;
                    case Op::Concat:
                    case Op::BitAnd:
                    case Op::BitOr:
                    case Op::BitXor:
                        return kOther;
                    case Op::DynAdd:
                        return e.valueType == SqlType::Text || e.valueType == SqlType::Unknown
                                   ? kOther
                                   : kAdd;
                    default:
                        return kPrimary;
                }
            case ExprKind::Unary:
                return kUnary;
            case ExprKind::Number:
                return e.text.startsWith(QLatin1Char('-')) ? kUnary : kPrimary;
            default:
                return kPrimary;
        }
    }
    // PostgreSQL's comparisons do not chain: both sides bind tighter.
    bool comparisonsChain() const override { return false; }
    // Text with no column behind it would compare on the plain collation.
    bool collates(const Expr& e) const override {
        return e.collateNoCase && (e.valueType == SqlType::Text || e.kind == ExprKind::Param);
    }
    QLatin1String collationClause() const override { return QLatin1String(" COLLATE md_ci"); }
    QString spelling(const QString& name) const override { return name.toLower(); }
    bool needsQuotes(const QString& lower) const override {
        return !isBareName(lower) ||
               isListedWord(lower, std::begin(kPgKeywords), std::end(kPgKeywords));
    }
    QLatin1Char placeholderMark() const override { return QLatin1Char('$'); }

    void binary(const Expr& e) override {
        switch (e.op) {
            case Op::BitXor:
                return infix(e, " # ");
            case Op::DynAdd:
                // One side's type is open (mostly a parameter): the other side decides,
                // as SQL Server's parameter typing would; texts concatenate.
                return infix(e, operatorPrecedence(e) == kAdd ? " + " : " || ");
            default:
                return SqlPrinter::binary(e);
        }
    }

    // SQL Server pads the shorter text with blanks for = and <>, so trailing
    // blanks do not count there; md_ci counts them. A column against a value
    // keeps the column's index: the texts from the value up to the value
    // followed by '!' (blanks sort below it) hold every match, then the exact test.
    bool comparison(const Expr& e) override {
        if (e.op != Op::Eq && e.op != Op::Ne) return false;
        const Expr* l = e.args[0].get();
        const Expr* r = e.args[1].get();
        const auto textual = [](const Expr& x) {
            return x.valueType == SqlType::Text || x.valueType == SqlType::Unknown;
        };
        if (!textual(*l) || !textual(*r) ||
            (l->valueType != SqlType::Text && r->valueType != SqlType::Text))
            return false;
        const auto isValue = [](const Expr& x) {
            return x.kind == ExprKind::String || x.kind == ExprKind::Param;
        };
        const auto isIndexed = [](const Expr& x) {
            return x.kind == ExprKind::Column && x.plainColumn && !x.collateNoCase;
        };
        if (isIndexed(*r) && isValue(*l)) std::swap(l, r);
        const bool ranged = e.op == Op::Eq && isIndexed(*l) && isValue(*r);
        if (ranged) {
            m_out += QLatin1Char('(');
            expr(*l, kCompare + 1);
            m_out += QLatin1String(" >= ");
            trimmed(*r);
            m_out += QLatin1String(" AND ");
            expr(*l, kCompare + 1);
            m_out += QLatin1String(" < ");
            trimmed(*r, QStringLiteral("!"));
            m_out += QLatin1String(" AND ");
        }
        trimmed(*l);
        m_out += e.op == Op::Eq ? QLatin1String(" = ") : QLatin1String(" <> ");
        trimmed(*r);
        if (ranged) m_out += QLatin1Char(')');
        return true;
    }

    void like(const Expr& e) override {
        plainCollation(*e.args[0]);
        m_out += e.negated ? QLatin1String(" NOT ILIKE ") : QLatin1String(" ILIKE ");
        expr(*e.args[1], kLikeIn + 1);
        m_out += QLatin1String(" ESCAPE ");
        if (e.args.size() > 2)
            expr(*e.args[2], kLikeIn + 1);
        else
            m_out += QLatin1String("''");  // a backslash is an ordinary character, as on SQL Server
    }

    bool dialectFunction(const Expr& e, const QString& name) override;
    bool keepsFunctionName(const QString& name) const override {
        static const char* const kSame[] = {"abs", "avg",    "floor", "lower", "ltrim", "max",
                                            "min", "nullif", "rtrim", "sum",   "upper"};
        return std::any_of(std::begin(kSame), std::end(kSame),
                           [&](const char* k) { return name == QLatin1String(k); });
    }

    bool nativeConversion(const Expr& v, SqlType to) override;
    bool convertsAsText(SqlType from) const override {
        return from == SqlType::Text || from == SqlType::Unknown;
    }
    void truncateText(const Expr& v, int length) override {
        m_out += QLatin1String("left(");
        expr(v);
        m_out += QStringLiteral(", %1)").arg(length);
    }

    // A branch with TOP of a union is a parenthesised select of its own.
    void branch(const Select& s, bool outermost, bool inUnion) override {
        const bool limited = inUnion && s.top;
        if (limited) m_out += QLatin1Char('(');
        core(s, outermost);
        if (limited) {
            m_out += QLatin1String(" LIMIT ");
            expr(*s.top, kUnary);
            m_out += QLatin1Char(')');
        }
    }

    void orderItem(const Select& s, const OrderItem& item, bool outermost) override {
        orderTerm(s, *item.expr, outermost);
        // Nulls are the lowest values on SQL Server.
        m_out += item.desc ? QLatin1String(" DESC NULLS LAST") : QLatin1String(" NULLS FIRST");
    }

    void resultAlias(const SelectItem& item, bool outermost) override {
        if (!item.alias.isEmpty()) {
            m_out += QLatin1String(" AS ");
            // The statement's own result keeps the written case.
            if (outermost)
                quoted(item.alias);
            else
                ident(item.alias);
        } else if (item.expr->kind == ExprKind::Call && item.expr->star) {
            m_out += QLatin1String(" AS ");
            quoted(item.expr->text.toLower() + QStringLiteral("(*)"));
        }
    }

    void unnamedDerivedTable() override {
        m_out += QStringLiteral(" md_d%1").arg(++m_derivedCount);
    }

    // The new identity comes back with the insert: no second round trip.
    void afterInsert(const InsertStmt& s) override {
        if (const ColumnInfo* identity = s.info ? s.info->identityColumn() : nullptr) {
            m_out += QLatin1String(" RETURNING ");
            ident(identity->name);
        }
    }

    void columnDefinition(const ColumnDef& c, const TableKeys& keys) override {
        m_out += QLatin1Char(' ');
        if (c.identity) {
            m_out += c.type.name == QLatin1String("bigint") ? QLatin1String("bigint")
                                                            : QLatin1String("integer");
            m_out += QLatin1String(" GENERATED BY DEFAULT AS IDENTITY");
        } else {
            m_out += pgTypeName(c.type);
            if (c.type.type == SqlType::Text) m_out += QLatin1String(" COLLATE md_ci");
        }
        columnConstraints(c, c.notNull, primaryKeyWord(keys));
    }

  private:
    // A text without its trailing blanks, then `suffix`.
    void trimmed(const Expr& x, const QString& suffix = QString()) {
        if (x.kind == ExprKind::String) {
            QString text = x.text;
            while (text.endsWith(QLatin1Char(' '))) text.chop(1);
            string(text + suffix);
            if (collates(x)) m_out += collationClause();
            return;
        }
        m_out += QLatin1String("rtrim(");
        expr(x);
        m_out += QLatin1Char(')');
        if (!suffix.isEmpty()) {
            m_out += QLatin1String(" || ");
            string(suffix);
        }
    }

    // An ORDER BY name that is an alias of the result refers to it in its
    // printed spelling.
    void orderTerm(const Select& s, const Expr& e, bool outermost) {
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

    // A text operand on the plain collation, for pattern and substring work.
    void plainCollation(const Expr& e) {
        expr(e, kUnary);
        if (e.valueType == SqlType::Text || e.kind == ExprKind::Column ||
            e.valueType == SqlType::Unknown)
            m_out += QLatin1String(" COLLATE \"default\"");
    }

    void castTo(const Expr& e, const char* type) {
        m_out += QLatin1String("CAST(");
        expr(e);
        m_out += QLatin1String(" AS ");
        m_out += QLatin1String(type);
        m_out += QLatin1Char(')');
    }

    int m_derivedCount = 0;
};

bool PostgresPrinter::dialectFunction(const Expr& e, const QString& name) {
    const auto arg = [&](size_t i) -> const Expr& { return *e.args[i]; };
    const size_t n = e.args.size();
    if ((name == QLatin1String("isnull") && n == 2) || name == QLatin1String("coalesce")) {
        // PostgreSQL wants one type: the arguments take the result's.
        m_out += QLatin1String("coalesce(");
        for (size_t i = 0; i < n; ++i) {
            if (i) m_out += QLatin1String(", ");
            const Expr& a = arg(i);
            const bool differs = e.valueType != SqlType::Unknown &&
                                 a.valueType != SqlType::Unknown && a.valueType != e.valueType &&
                                 a.kind != ExprKind::Null &&
                                 !(isNumeric(a.valueType) && isNumeric(e.valueType));
            if (differs)
                convertTo(a, e.valueType, nullptr, -1);
            else
                expr(a);
        }
        m_out += QLatin1Char(')');
        return true;
    }
    if ((name == QLatin1String("getdate") || name == QLatin1String("sysdatetime")) && n == 0) {
        // The session runs in the workstation's time zone (set on connecting).
        m_out += QLatin1String("date_trunc('second', LOCALTIMESTAMP)");
        return true;
    }
    if (name == QLatin1String("getutcdate") && n == 0) {
        m_out += QLatin1String("date_trunc('second', now() AT TIME ZONE 'UTC')");
        return true;
    }
    if ((name == QLatin1String("left") || name == QLatin1String("right")) && n == 2) {
        m_out += name;
        m_out += QLatin1Char('(');
        expr(arg(0));
        m_out += QLatin1String(", ");
        castTo(arg(1), "integer");
        m_out += QLatin1Char(')');
        return true;
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
        return true;
    }
    if (name == QLatin1String("round") && n == 2) {
        // only numeric has a rounding to places
        m_out += QLatin1String("round(");
        castTo(arg(0), "numeric");
        m_out += QLatin1String(", ");
        castTo(arg(1), "integer");
        m_out += QLatin1Char(')');
        return true;
    }
    if ((name == QLatin1String("char") || name == QLatin1String("nchar")) && n == 1) {
        // Printed as written, PostgreSQL would read "char(13)" as a type.
        m_out += QLatin1String("chr(");
        castTo(arg(0), "integer");
        m_out += QLatin1Char(')');
        return true;
    }
    if (isIntegerAverage(e, name)) {
        // the average of integers is an integer on SQL Server
        m_out += QLatin1String("CAST(trunc(avg(");
        expr(arg(0));
        m_out += QLatin1String(")) AS integer)");
        return true;
    }
    if ((name == QLatin1String("count") || name == QLatin1String("count_big")) &&
        (e.star || n == 1)) {
        // count is an int on SQL Server, and the datasets read it as one
        m_out += QLatin1String("CAST(count(");
        if (e.star) m_out += QLatin1Char('*');
        if (e.distinct) m_out += QLatin1String("DISTINCT ");
        list(e.args);
        m_out += QLatin1String(") AS integer)");
        return true;
    }
    return false;
}

// Conversions PostgreSQL makes itself, where its result is SQL Server's.
bool PostgresPrinter::nativeConversion(const Expr& v, SqlType to) {
    const SqlType from = v.valueType;
    switch (to) {
        case SqlType::DateTime:
            if (from != SqlType::Date) return false;
            castTo(v, "timestamp(0)");
            return true;
        case SqlType::Date:
            if (from != SqlType::DateTime) return false;
            castTo(v, "date");
            return true;
        case SqlType::Time:
            if (from != SqlType::DateTime) return false;
            castTo(v, "time(0)");
            return true;
        case SqlType::Integer:
            if (from == SqlType::Bit) {
                expr(v);
                return true;
            }
            if (from != SqlType::Decimal && from != SqlType::Float) return false;
            // truncated, as SQL Server does, where a cast would round
            m_out += QLatin1String("CAST(trunc(");
            expr(v);
            m_out += QLatin1String(") AS integer)");
            return true;
        case SqlType::Bit:
            if (!isNumeric(from)) return false;
            m_out += QLatin1String("CAST((");
            expr(v);
            m_out += QLatin1String(") <> 0 AS integer)");
            return true;
        case SqlType::Float:
            if (!isNumeric(from)) return false;
            castTo(v, "double precision");
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<DialectWriter> makePostgresWriter() {
    return std::make_unique<PrintingWriter<PostgresPrinter, rewriteForPostgres>>();
}

}  // namespace md::sql
