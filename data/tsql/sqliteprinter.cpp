// The SQLite printer: the analysed tree as SQLite text. Conversions and the
// behaviour SQLite lacks go through the md_ functions of sqliteruntime.cpp.
#include <algorithm>

#include "tsql/dialect.h"
#include "tsql/sqlitepasses.h"
#include "tsql/sqlprinter.h"

namespace md::sql {

using namespace ast;

namespace {

const char* const kSqliteKeywords[] = {
    "abort",
    "action",
    "add",
    "after",
    "all",
    "alter",
    "always",
    "analyze",
    "and",
    "as",
    "asc",
    "attach",
    "autoincrement",
    "before",
    "begin",
    "between",
    "by",
    "cascade",
    "case",
    "cast",
    "check",
    "collate",
    "column",
    "commit",
    "conflict",
    "constraint",
    "create",
    "cross",
    "current",
    "current_date",
    "current_time",
    "current_timestamp",
    "database",
    "default",
    "deferrable",
    "deferred",
    "delete",
    "desc",
    "detach",
    "distinct",
    "do",
    "drop",
    "each",
    "else",
    "end",
    "escape",
    "except",
    "exclude",
    "exclusive",
    "exists",
    "explain",
    "fail",
    "filter",
    "first",
    "following",
    "for",
    "foreign",
    "from",
    "full",
    "generated",
    "glob",
    "group",
    "groups",
    "having",
    "if",
    "ignore",
    "immediate",
    "in",
    "index",
    "indexed",
    "initially",
    "inner",
    "insert",
    "instead",
    "intersect",
    "into",
    "is",
    "isnull",
    "join",
    "key",
    "last",
    "left",
    "like",
    "limit",
    "match",
    "materialized",
    "natural",
    "no",
    "not",
    "nothing",
    "notnull",
    "null",
    "nulls",
    "of",
    "offset",
    "on",
    "or",
    "order",
    "others",
    "outer",
    "over",
    "partition",
    "plan",
    "pragma",
    "preceding",
    "primary",
    "query",
    "raise",
    "range",
    "recursive",
    "references",
    "regexp",
    "reindex",
    "release",
    "rename",
    "replace",
    "restrict",
    "returning",
    "right",
    "rollback",
    "row",
    "rows",
    "savepoint",
    "select",
    "set",
    "table",
    "temp",
    "temporary",
    "then",
    "ties",
    "to",
    "transaction",
    "trigger",
    "unbounded",
    "union",
    "unique",
    "update",
    "using",
    "vacuum",
    "values",
    "view",
    "virtual",
    "when",
    "where",
    "window",
    "with",
    "without",
};

// The declared type of a column as written, so that result columns report it;
// "(max)" is no SQLite type syntax.
QString declaredType(const TypeRef& type) {
    return type.length == -1 ? type.name : type.text();
}

class SqlitePrinter : public SqlPrinter {
  public:
    using SqlPrinter::SqlPrinter;

    // SQLite stores any text in any column; the servers refuse what exceeds a
    // column's declared length or its type's range. Two triggers per table,
    // made from its definition, refuse it here as well, naming the field:
    // md_check_<table>_insert and _update (an added column: _<column>_...).
    QStringList companions(const Stmt& s) override {
        if (s.kind == Stmt::Kind::CreateTable) {
            const auto& create = static_cast<const CreateTableStmt&>(s);
            std::vector<const ColumnDef*> columns;
            for (const ColumnDef& c : create.columns) columns.push_back(&c);
            return storageChecks(create.name, QStringLiteral("md_check_") + create.name, columns);
        }
        if (s.kind == Stmt::Kind::AlterTable) {
            const auto& alter = static_cast<const AlterTableStmt&>(s);
            return storageChecks(
                alter.table, QStringLiteral("md_check_%1_%2").arg(alter.table, alter.column.name),
                {&alter.column});
        }
        return {};
    }

  private:
    QStringList storageChecks(const QString& table, const QString& trigger,
                              const std::vector<const ColumnDef*>& columns) {
        QStringList checked;
        for (const ColumnDef* c : columns)
            if (storageTest(table, *c, false)) checked << c->name;
        if (checked.isEmpty()) return {};
        const QString insertTests = takeText();
        // An update is held to the columns it changes: a value stored before
        // the checks existed does not block changing another field of its row.
        for (const ColumnDef* c : columns) storageTest(table, *c, true);
        const QString updateTests = takeText();
        QStringList statements;
        m_out += QLatin1String("CREATE TRIGGER ");
        ident(trigger + QStringLiteral("_insert"));
        m_out += QLatin1String(" BEFORE INSERT ON ");
        ident(table);
        m_out += QLatin1String(" BEGIN SELECT CASE") + insertTests + QLatin1String(" END; END");
        statements << takeText();
        m_out += QLatin1String("CREATE TRIGGER ");
        ident(trigger + QStringLiteral("_update"));
        m_out += QLatin1String(" BEFORE UPDATE OF ");
        for (int i = 0; i < checked.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            ident(checked[i]);
        }
        m_out += QLatin1String(" ON ");
        ident(table);
        m_out += QLatin1String(" BEGIN SELECT CASE") + updateTests + QLatin1String(" END; END");
        statements << takeText();
        return statements;
    }

    // " WHEN <value does not fit> THEN RAISE(ABORT, <message>)" for a column
    // whose type limits its values, as SQL Server's type does; false for the
    // rest. In an update only a changed value is tested.
    bool storageTest(const QString& table, const ColumnDef& c, bool update) {
        const TypeRef& t = c.type;
        const QString& n = t.name;
        const auto is = [&n](const char* name) { return n == QLatin1String(name); };
        if (c.identity) return false;
        if (t.type == SqlType::Text) {
            // Characters, as PostgreSQL counts them; no length given is one.
            const bool fixed = is("varchar") || is("nvarchar") || is("char") || is("nchar");
            const int length = is("uniqueidentifier")   ? 36
                               : t.length > 0           ? t.length
                               : t.length == 0 && fixed ? 1
                                                        : 0;
            if (length <= 0) return false;
            m_out += QLatin1String(" WHEN ");
            if (update) changed(c.name);
            m_out += QLatin1String("length(NEW.");
            ident(c.name);
            m_out += QStringLiteral(") > %1 THEN RAISE(ABORT, ").arg(length);
            string(QStringLiteral("表 %1 的字段 %2 最多存 %3 个字符。")
                       .arg(table, c.name)
                       .arg(length));
            m_out += QLatin1Char(')');
            return true;
        }
        QString low, high;
        if (is("int") || is("integer")) {
            low = QStringLiteral("-2147483648"), high = QStringLiteral("2147483647");
        } else if (is("smallint")) {
            low = QStringLiteral("-32768"), high = QStringLiteral("32767");
        } else if (is("tinyint")) {
            low = QStringLiteral("0"), high = QStringLiteral("255");
        } else if (is("bigint")) {
            low = QStringLiteral("-9223372036854775808"),
            high = QStringLiteral("9223372036854775807");
        } else if (is("money")) {
            low = QStringLiteral("-922337203685477.5808"),
            high = QStringLiteral("922337203685477.5807");
        } else if (is("smallmoney")) {
            low = QStringLiteral("-214748.3648"), high = QStringLiteral("214748.3647");
        } else if (is("decimal") || is("numeric")) {
            // Fewer whole digits than the precision leaves beside the scale.
            const int precision = t.length > 0 ? t.length : 18;
            const int digits = precision - qMax(t.scale, 0);
            high = QStringLiteral("%1").arg(QString(qMax(digits, 0), QLatin1Char('9')));
            if (t.scale > 0) high += QLatin1Char('.') + QString(t.scale, QLatin1Char('9'));
            if (digits <= 0) high.prepend(QLatin1Char('0'));
            low = QLatin1Char('-') + high;
        } else if (is("real")) {
            low = QStringLiteral("-3.4028234663852886e38"),
            high = QStringLiteral("3.4028234663852886e38");
        } else if (is("float")) {
            low = QStringLiteral("-1.7976931348623157e308"),
            high = QStringLiteral("1.7976931348623157e308");
        } else {
            return false;
        }
        m_out += QLatin1String(" WHEN ");
        if (update) changed(c.name);
        m_out += QLatin1String("NEW.");
        ident(c.name);
        m_out += QStringLiteral(" NOT BETWEEN %1 AND %2 THEN RAISE(ABORT, ").arg(low, high);
        string(QStringLiteral("表 %1 的字段 %2 只能存 %3 范围内的数值。")
                   .arg(table, c.name, t.text()));
        m_out += QLatin1Char(')');
        return true;
    }

    void changed(const QString& column) {
        m_out += QLatin1String("NEW.");
        ident(column);
        m_out += QLatin1String(" IS NOT OLD.");
        ident(column);
        m_out += QLatin1String(" AND ");
    }

  protected:
    // SQLite's ranks between NOT and the arithmetic.
    static constexpr int kEquality = 4, kRelation = 5, kBits = 7, kConcat = 10;

    int basePrecedence(const Expr& e) const override {
        switch (e.kind) {
            case ExprKind::Or:
                return kOr;
            case ExprKind::And:
                return kAnd;
            case ExprKind::Not:
                return kNot;
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
                    case Op::Sub:
                        return kAdd;
                    case Op::Mul:
                    case Op::Div:
                    case Op::Mod:
                        return kMul;
                    case Op::Concat:
                        return kConcat;
                    case Op::BitAnd:
                    case Op::BitOr:
                        return kBits;
                    default:
                        return kPrimary;  // printed as a function call
                }
            case ExprKind::Unary:
                return kUnary;
            case ExprKind::Number:
                return e.text.startsWith(QLatin1Char('-')) ? kUnary : kPrimary;
            default:
                return kPrimary;
        }
    }
    // A collated operator binds as COLLATE does.
    int operatorPrecedence(const Expr& e) const override {
        return e.collateNoCase ? kUnary : basePrecedence(e);
    }
    bool comparisonsChain() const override { return true; }
    bool collates(const Expr& e) const override { return e.collateNoCase; }
    QLatin1String collationClause() const override { return QLatin1String(" COLLATE NOCASE"); }
    bool needsQuotes(const QString& name) const override {
        return !isBareName(name) ||
               isListedWord(name, std::begin(kSqliteKeywords), std::end(kSqliteKeywords));
    }
    QLatin1Char placeholderMark() const override { return QLatin1Char('?'); }
    // SQLite adds no key column to a table that holds rows, and fills the rows
    // it has with a constant default only.
    bool canAddColumn(const ColumnDef& c) const override {
        if (c.identity || c.primaryKey || c.unique) return false;
        if (!c.defaultValue) return true;
        const Expr* d = c.defaultValue.get();
        if (d->kind == ExprKind::Unary && !d->args.empty()) d = d->args[0].get();
        return d->kind == ExprKind::Number || d->kind == ExprKind::String ||
               d->kind == ExprKind::Null;
    }

    void binary(const Expr& e) override {
        const Expr& l = *e.args[0];
        const Expr& r = *e.args[1];
        switch (e.op) {
            case Op::DynAdd:
                return call("md_add", {&l, &r});
            case Op::Div:
                // SQLite keeps a whole amount of money as an integer, and 539 / 8
                // would be 67: amounts divide with their fractions.
                if (!hasFractions(l) && !hasFractions(r)) return SqlPrinter::binary(e);
                m_out += QLatin1String("CAST(");
                expr(l);
                m_out += QLatin1String(" AS REAL) / ");
                expr(r, kMul + 1);
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
            default:
                return SqlPrinter::binary(e);
        }
    }

    static bool hasFractions(const Expr& e) {
        return e.valueType == SqlType::Decimal || e.valueType == SqlType::Float;
    }

    bool dialectFunction(const Expr& e, const QString& name) override {
        const auto arg = [&](size_t i) -> const Expr& { return *e.args[i]; };
        const size_t n = e.args.size();
        if (name == QLatin1String("isnull") && n == 2)
            call("ifnull", {&arg(0), &arg(1)});
        else if ((name == QLatin1String("getdate") || name == QLatin1String("sysdatetime")) &&
                 n == 0)
            call("md_getdate", {});
        else if (name == QLatin1String("getutcdate") && n == 0)
            call("md_getutcdate", {});
        else if (name == QLatin1String("right") && n == 2)
            call("md_right", {&arg(0), &arg(1)});
        else if (name == QLatin1String("nchar") && n == 1)
            call("char", {&arg(0)});
        else if (name == QLatin1String("left") && n == 2) {
            m_out += QLatin1String("substr(");
            expr(arg(0));
            m_out += QLatin1String(", 1, ");
            expr(arg(1));
            m_out += QLatin1Char(')');
        } else if (isIntegerAverage(e, name)) {
            // the average of integers is an integer on SQL Server
            m_out += QLatin1String("CAST(avg(");
            expr(arg(0));
            m_out += QLatin1String(") AS INTEGER)");
        } else {
            return false;
        }
        return true;
    }
    bool keepsFunctionName(const QString& name) const override {
        static const char* const kSame[] = {"abs",     "avg",   "coalesce", "count", "floor",
                                            "lower",   "ltrim", "max",      "min",   "nullif",
                                            "replace", "round", "rtrim",    "sum",   "upper"};
        return std::any_of(std::begin(kSame), std::end(kSame),
                           [&](const char* k) { return name == QLatin1String(k); });
    }

    // Numbers are floats already as far as SQLite's arithmetic goes.
    bool nativeConversion(const Expr& v, SqlType to) override {
        if (to != SqlType::Float ||
            (v.valueType != SqlType::Integer && v.valueType != SqlType::Decimal))
            return false;
        expr(v);
        return true;
    }
    void truncateText(const Expr& v, int length) override {
        m_out += QLatin1String("substr(");
        expr(v);
        m_out += QStringLiteral(", 1, %1)").arg(length);
    }

    QLatin1String primaryKeyWord(const TableKeys& keys) const override {
        // The identity is the table's key (the rowid); a declared key is unique beside it.
        return keys.hasIdentity ? QLatin1String("UNIQUE") : QLatin1String("PRIMARY KEY");
    }
    void columnDefinition(const ColumnDef& c, const TableKeys& keys) override {
        if (c.identity) {
            // The identity becomes the rowid: numbered by the engine, never reused.
            m_out += QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
            return;
        }
        m_out += QLatin1Char(' ');
        // The declared type stays as written, so that result columns report it.
        m_out += declaredType(c.type);
        if (c.type.type == SqlType::Text) m_out += QLatin1String(" COLLATE NOCASE");
        // SQLite lets key columns hold nulls unless told not to.
        columnConstraints(c, c.notNull || keys.keyColumns.contains(c.name.toLower()),
                          primaryKeyWord(keys));
    }
};

}  // namespace

std::unique_ptr<DialectWriter> makeSqliteWriter() {
    return std::make_unique<PrintingWriter<SqlitePrinter, rewriteForSqlite>>();
}

}  // namespace md::sql
