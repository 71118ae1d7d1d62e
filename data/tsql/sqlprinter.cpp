#include "tsql/sqlprinter.h"

#include <algorithm>
#include <cstring>

#include "tsql/catalog.h"
#include "tsql/tsqlerror.h"

namespace md::sql {

using namespace ast;

namespace {

const char* compareText(Op op) {
    switch (op) {
        case Op::Eq:
            return " = ";
        case Op::Ne:
            return " <> ";
        case Op::Lt:
            return " < ";
        case Op::Gt:
            return " > ";
        case Op::Le:
            return " <= ";
        case Op::Ge:
            return " >= ";
        default:
            return " ? ";
    }
}

// The md_ function of sqliteruntime.cpp / pgruntime.cpp converting to the type.
const char* runtimeConversion(SqlType to) {
    switch (to) {
        case SqlType::DateTime:
            return "md_datetime";
        case SqlType::Date:
            return "md_date";
        case SqlType::Time:
            return "md_time";
        case SqlType::Integer:
            return "md_int";
        case SqlType::Bit:
            return "md_bit";
        case SqlType::Float:
            return "md_float";
        default:
            return nullptr;
    }
}

}  // namespace

bool SqlPrinter::isBareName(const QString& name) {
    if (name.isEmpty()) return false;
    const char16_t first = name[0].unicode();
    if (first >= '0' && first <= '9') return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool plain = u >= 0x80 ? c.isLetterOrNumber()
                                     : (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                                           (u >= '0' && u <= '9') || u == '_';
        if (!plain) return false;
    }
    return true;
}

bool SqlPrinter::isListedWord(const QString& word, const char* const* begin,
                              const char* const* end) {
    if (word.size() >= 24) return false;
    char buffer[24];
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t u = word[i].unicode();
        if (u >= 0x80) return false;
        buffer[i] = char(u >= 'A' && u <= 'Z' ? u + 32 : u);
    }
    buffer[word.size()] = 0;
    return std::binary_search(begin, end, static_cast<const char*>(buffer),
                              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

bool SqlPrinter::isIntegerAverage(const Expr& e, const QString& lowerName) {
    return lowerName == QLatin1String("avg") && e.args.size() == 1 && !e.distinct &&
           (e.args[0]->valueType == SqlType::Integer || e.args[0]->valueType == SqlType::Bit);
}

void SqlPrinter::statement(const Stmt& s) {
    switch (s.kind) {
        case Stmt::Kind::Select:
            m_outermost = static_cast<const SelectStmt&>(s).select.get();
            select(*static_cast<const SelectStmt&>(s).select);
            break;
        case Stmt::Kind::Insert:
            insert(static_cast<const InsertStmt&>(s));
            break;
        case Stmt::Kind::Update:
            update(static_cast<const UpdateStmt&>(s));
            break;
        case Stmt::Kind::Delete:
            remove(static_cast<const DeleteStmt&>(s));
            break;
        case Stmt::Kind::CreateTable:
            createTable(static_cast<const CreateTableStmt&>(s));
            break;
        case Stmt::Kind::CreateView:
            createView(static_cast<const CreateViewStmt&>(s));
            break;
        case Stmt::Kind::CreateIndex:
            createIndex(static_cast<const CreateIndexStmt&>(s));
            break;
        case Stmt::Kind::AlterTable:
            alterTable(static_cast<const AlterTableStmt&>(s));
            break;
        case Stmt::Kind::Drop:
            drop(static_cast<const DropStmt&>(s));
            break;
        case Stmt::Kind::CreateFunction:  // kept in the catalog and inlined where called
        case Stmt::Kind::Exec:            // run by the connection
            break;
    }
}

void SqlPrinter::expr(const Expr& e, int minPrecedence) {
    const bool collate = collates(e);
    const int p = collate ? kUnary : basePrecedence(e);
    const bool parens = p < minPrecedence;
    if (parens) m_out += QLatin1Char('(');
    if (collate) {
        // "a + b COLLATE x" would bind to b alone
        const bool inner = basePrecedence(e) < kPrimary;
        if (inner) m_out += QLatin1Char('(');
        exprPlain(e);
        if (inner) m_out += QLatin1Char(')');
        m_out += collationClause();
    } else {
        exprPlain(e);
    }
    if (parens) m_out += QLatin1Char(')');
}

void SqlPrinter::ident(const QString& name) {
    const QString spelled = spelling(name);
    if (!needsQuotes(spelled)) {
        m_out += spelled;
        return;
    }
    quoted(spelled);
}

void SqlPrinter::enclose(const QString& text, QLatin1Char quote) {
    m_out += quote;
    for (QChar c : text) {
        if (c == quote) m_out += quote;
        m_out += c;
    }
    m_out += quote;
}

void SqlPrinter::list(const std::vector<ExprPtr>& items, size_t from) {
    for (size_t i = from; i < items.size(); ++i) {
        if (i > from) m_out += QLatin1String(", ");
        expr(*items[i]);
    }
}

void SqlPrinter::call(const char* name, std::initializer_list<const Expr*> args) {
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

void SqlPrinter::infix(const Expr& e, const char* op) {
    const int p = operatorPrecedence(e);
    expr(*e.args[0], p);
    m_out += QLatin1String(op);
    expr(*e.args[1], p + 1);
}

void SqlPrinter::exprPlain(const Expr& e) {
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
            m_out += placeholderMark();
            m_out += QString::number(e.paramIndex + 1);
            if (m_order) m_order->push_back(e.paramIndex);
            return;
        case ExprKind::Variable:
            throwTranslateError(QStringLiteral("必须声明标量变量 '%1'").arg(e.text), e.line,
                                e.column);
        case ExprKind::Unary: {
            m_out += e.op == Op::Neg      ? QLatin1Char('-')
                     : e.op == Op::BitNot ? QLatin1Char('~')
                                          : QLatin1Char('+');
            const qsizetype at = m_out.size();
            expr(*e.args[0], kUnary);
            if (m_out.mid(at, 1) == QLatin1String("-") || m_out.mid(at, 1) == QLatin1String("+"))
                m_out.insert(at, QLatin1Char(' '));  // "- -1", never the comment "--1"
            return;
        }
        case ExprKind::Binary:
            binary(e);
            return;
        case ExprKind::Compare: {
            if (comparison(e)) return;
            const int p = operatorPrecedence(e);
            expr(*e.args[0], comparisonsChain() ? p : p + 1);
            m_out += QLatin1String(compareText(e.op));
            expr(*e.args[1], p + 1);
            return;
        }
        case ExprKind::And:
        case ExprKind::Or:
            for (size_t i = 0; i < e.args.size(); ++i) {
                if (i)
                    m_out +=
                        e.kind == ExprKind::And ? QLatin1String(" AND ") : QLatin1String(" OR ");
                expr(*e.args[i], operatorPrecedence(e));
            }
            return;
        case ExprKind::Not:
            m_out += QLatin1String("NOT ");
            expr(*e.args[0], kNot);
            return;
        case ExprKind::Like:
            like(e);
            return;
        case ExprKind::InList:
            expr(*e.args[0], basePrecedence(e) + 1);
            m_out += e.negated ? QLatin1String(" NOT IN (") : QLatin1String(" IN (");
            list(e.args, 1);
            m_out += QLatin1Char(')');
            return;
        case ExprKind::InSelect:
            expr(*e.args[0], basePrecedence(e) + 1);
            m_out += e.negated ? QLatin1String(" NOT IN ") : QLatin1String(" IN ");
            subquery(*e.select);
            return;
        case ExprKind::Exists:
            m_out += QLatin1String("EXISTS ");
            subquery(*e.select);
            return;
        case ExprKind::IsNull:
            expr(*e.args[0], basePrecedence(e) + 1);
            m_out += e.negated ? QLatin1String(" IS NOT NULL") : QLatin1String(" IS NULL");
            return;
        case ExprKind::Between: {
            const int operand = basePrecedence(e) + 1;
            expr(*e.args[0], operand);
            m_out += e.negated ? QLatin1String(" NOT BETWEEN ") : QLatin1String(" BETWEEN ");
            expr(*e.args[1], operand);
            m_out += QLatin1String(" AND ");
            expr(*e.args[2], operand);
            return;
        }
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
            subquery(*e.select);
            return;
        case ExprKind::Call:
            functionCall(e);
            return;
        case ExprKind::Convert:
            convertTo(*e.args[0], e.type.type, &e.type, e.style);
            return;
    }
}

void SqlPrinter::binary(const Expr& e) {
    switch (e.op) {
        case Op::Add:
            return infix(e, " + ");
        case Op::Sub:
            return infix(e, " - ");
        case Op::Mul:
            return infix(e, " * ");
        case Op::Div:
            return infix(e, " / ");
        case Op::Mod:
            return infix(e, " % ");
        case Op::Concat:
            return infix(e, " || ");
        case Op::BitAnd:
            return infix(e, " & ");
        case Op::BitOr:
            return infix(e, " | ");
        default:
            return infix(e, " ? ");
    }
}

void SqlPrinter::like(const Expr& e) {
    const int operand = basePrecedence(e) + 1;
    expr(*e.args[0], operand);
    m_out += e.negated ? QLatin1String(" NOT LIKE ") : QLatin1String(" LIKE ");
    expr(*e.args[1], operand);
    if (e.args.size() > 2) {
        m_out += QLatin1String(" ESCAPE ");
        expr(*e.args[2], operand);
    }
}

void SqlPrinter::functionCall(const Expr& e) {
    const QString name = e.text.toLower();
    if (dialectFunction(e, name)) return;
    const auto arg = [&](size_t i) -> const Expr& { return *e.args[i]; };
    const size_t n = e.args.size();
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
    if (name == QLatin1String("substring") && n == 3)
        return call("substr", {&arg(0), &arg(1), &arg(2)});
    if (name == QLatin1String("charindex") && (n == 2 || n == 3)) {
        if (n == 2) return call("md_charindex", {&arg(0), &arg(1)});
        return call("md_charindex", {&arg(0), &arg(1), &arg(2)});
    }
    if (name == QLatin1String("ceiling") && n == 1) return call("ceil", {&arg(0)});
    if (keepsFunctionName(name))
        m_out += name;
    else
        ident(e.text);  // an unknown function; the database will say so when it runs
    m_out += QLatin1Char('(');
    if (e.star) m_out += QLatin1Char('*');
    if (e.distinct) m_out += QLatin1String("DISTINCT ");
    list(e.args);
    m_out += QLatin1Char(')');
}

// The value converted as SQL Server's convert() does.
void SqlPrinter::convertTo(const Expr& v, SqlType to, const TypeRef* type, int style) {
    const SqlType from = v.valueType;
    switch (to) {
        case SqlType::DateTime:
        case SqlType::Date:
        case SqlType::Time:
        case SqlType::Integer:
        case SqlType::Bit:
        case SqlType::Float:
            if (from == to) return expr(v);
            if (nativeConversion(v, to)) return;
            return call(runtimeConversion(to), {&v});
        case SqlType::Decimal: {
            if (from == SqlType::Integer || from == SqlType::Bit) return expr(v);
            const int scale = type ? type->scale : -1;
            m_out += QLatin1String("md_decimal(");
            expr(v);
            m_out += QStringLiteral(", %1)").arg(scale);
            return;
        }
        case SqlType::Text: {
            // No length means 30 characters, as SQL Server's convert(varchar, x).
            const int length = !type || type->length == 0 ? 30 : qMax(type->length, 0);
            if (from == SqlType::DateTime || from == SqlType::Date || from == SqlType::Time) {
                m_out += QLatin1String("md_datestr(");
                expr(v);
                m_out += QStringLiteral(", %1, %2)").arg(style).arg(length);
            } else if (convertsAsText(from)) {
                if (length == 0) return expr(v);
                truncateText(v, length);
            } else {
                m_out += QLatin1String("md_varchar(");
                expr(v);
                m_out += QStringLiteral(", %1, %2)")
                             .arg(length)
                             .arg(from == SqlType::Float ? -2 : v.scale);
            }
            return;
        }
        case SqlType::Blob:
        case SqlType::Unknown:
            expr(v);
            return;
    }
}

void SqlPrinter::select(const Select& s) {
    const bool outermost = &s == m_outermost;
    branch(s, outermost, !s.parts.empty());
    for (const Select::Part& part : s.parts) {
        switch (part.op) {
            case SetOp::Union:
                m_out += QLatin1String(" UNION ");
                break;
            case SetOp::UnionAll:
                m_out += QLatin1String(" UNION ALL ");
                break;
            case SetOp::Except:
                m_out += QLatin1String(" EXCEPT ");
                break;
            case SetOp::Intersect:
                m_out += QLatin1String(" INTERSECT ");
                break;
        }
        branch(*part.select, false, true);
    }
    if (!s.orderBy.empty()) {
        m_out += QLatin1String(" ORDER BY ");
        for (size_t i = 0; i < s.orderBy.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            orderItem(s, s.orderBy[i], outermost);
        }
    }
    if (s.top && s.parts.empty()) {
        m_out += QLatin1String(" LIMIT ");
        expr(*s.top, kUnary);
    }
}

void SqlPrinter::subquery(const Select& s) {
    m_out += QLatin1Char('(');
    select(s);
    m_out += QLatin1Char(')');
}

void SqlPrinter::orderItem(const Select&, const OrderItem& item, bool) {
    expr(*item.expr);
    if (item.desc) m_out += QLatin1String(" DESC");
}

void SqlPrinter::resultAlias(const SelectItem& item, bool) {
    if (item.alias.isEmpty()) return;
    m_out += QLatin1String(" AS ");
    ident(item.alias);
}

void SqlPrinter::core(const Select& s, bool outermost) {
    m_out += s.distinct ? QLatin1String("SELECT DISTINCT ") : QLatin1String("SELECT ");
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (i) m_out += QLatin1String(", ");
        expr(*s.items[i].expr);
        resultAlias(s.items[i], outermost);
    }
    fromAndWhere(s.from, s.where.get());
    if (!s.groupBy.empty()) {
        m_out += QLatin1String(" GROUP BY ");
        list(s.groupBy);
    }
    if (s.having) {
        m_out += QLatin1String(" HAVING ");
        expr(*s.having);
    }
}

void SqlPrinter::fromAndWhere(const std::vector<TableRefPtr>& sources, const Expr* where) {
    if (!sources.empty()) {
        m_out += QLatin1String(" FROM ");
        for (size_t i = 0; i < sources.size(); ++i) {
            if (i) m_out += QLatin1String(", ");
            tableRef(*sources[i]);
        }
    }
    if (where) {
        m_out += QLatin1String(" WHERE ");
        expr(*where);
    }
}

void SqlPrinter::tableRef(const TableRef& ref) {
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
            subquery(*ref.select);
            if (ref.alias.isEmpty()) unnamedDerivedTable();
            break;
        case TableRef::Kind::Join: {
            tableRef(*ref.left);
            static const char* const kJoins[] = {" JOIN ", " LEFT JOIN ", " RIGHT JOIN ",
                                                 " FULL JOIN ", " CROSS JOIN "};
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

void SqlPrinter::insert(const InsertStmt& s) {
    m_out += QLatin1String("INSERT INTO ");
    ident(s.info ? s.info->name : s.table);
    if (!s.columns.isEmpty()) {
        m_out += QLatin1Char(' ');
        columnNames(s.columns);
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
    afterInsert(s);
}

void SqlPrinter::update(const UpdateStmt& s) {
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
    fromAndWhere(s.from, s.where.get());
}

void SqlPrinter::remove(const DeleteStmt& s) {
    m_out += QLatin1String("DELETE FROM ");
    ident(s.targetTable.isEmpty() ? s.table : s.targetTable);
    fromAndWhere({}, s.where.get());  // a FROM of its own is rewritten into the where clause
}

void SqlPrinter::columnNames(const QStringList& names) {
    m_out += QLatin1Char('(');
    for (int i = 0; i < names.size(); ++i) {
        if (i) m_out += QLatin1String(", ");
        ident(names[i]);
    }
    m_out += QLatin1Char(')');
}

void SqlPrinter::createTable(const CreateTableStmt& s) {
    TableKeys keys;
    for (const ColumnDef& c : s.columns) {
        keys.hasIdentity = keys.hasIdentity || c.identity;
        if (c.primaryKey && !c.identity) keys.keyColumns << c.name.toLower();
    }
    for (const TableConstraint& c : s.constraints)
        if (c.kind == TableConstraint::Kind::PrimaryKey)
            for (const QString& name : c.columns) keys.keyColumns << name.toLower();

    m_out += QLatin1String("CREATE TABLE ");
    ident(s.name);
    m_out += QLatin1String(" (");
    bool first = true;
    for (const ColumnDef& c : s.columns) {
        if (!first) m_out += QLatin1String(", ");
        first = false;
        ident(c.name);
        columnDefinition(c, keys);
    }
    for (const TableConstraint& c : s.constraints) {
        m_out += QLatin1String(", ");
        switch (c.kind) {
            case TableConstraint::Kind::PrimaryKey:
                m_out += primaryKeyWord(keys);
                m_out += QLatin1Char(' ');
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
                references(c.refTable, c.refColumns, c.refActions);
                break;
        }
    }
    m_out += QLatin1Char(')');
}

void SqlPrinter::columnConstraints(const ColumnDef& c, bool notNull, QLatin1String primaryKey) {
    if (notNull) m_out += QLatin1String(" NOT NULL");
    if (c.defaultValue) {
        m_out += QLatin1String(" DEFAULT (");
        expr(*c.defaultValue);
        m_out += QLatin1Char(')');
    }
    if (c.primaryKey) {
        m_out += QLatin1Char(' ');
        m_out += primaryKey;
    } else if (c.unique) {
        m_out += QLatin1String(" UNIQUE");
    }
    if (c.check) {
        m_out += QLatin1String(" CHECK (");
        expr(*c.check);
        m_out += QLatin1Char(')');
    }
    if (!c.refTable.isEmpty()) references(c.refTable, c.refColumns, c.refActions);
}

void SqlPrinter::references(const QString& table, const QStringList& columns,
                            const QString& actions) {
    m_out += QLatin1String(" REFERENCES ");
    ident(table);
    if (!columns.isEmpty()) {
        m_out += QLatin1Char(' ');
        columnNames(columns);
    }
    if (!actions.isEmpty()) {
        m_out += QLatin1Char(' ');
        m_out += actions;
    }
}

void SqlPrinter::createView(const CreateViewStmt& s) {
    m_out += QLatin1String("CREATE VIEW ");
    ident(s.name);
    if (!s.columns.isEmpty()) {
        m_out += QLatin1Char(' ');
        columnNames(s.columns);
    }
    m_out += QLatin1String(" AS ");
    select(*s.select);
}

void SqlPrinter::createIndex(const CreateIndexStmt& s) {
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

// The column as create table prints it: types, collation and domains alike.
void SqlPrinter::alterTable(const AlterTableStmt& s) {
    if (!canAddColumn(s.column))
        throwTranslateError(
            QStringLiteral(
                "不能给已有的表增加列 '%1'：自增、主键、唯一或默认值不是常量的列只能随新表建立")
                .arg(s.column.name),
            s.column.line, s.column.column);
    TableKeys keys;
    keys.hasIdentity = s.column.identity;
    if (s.column.primaryKey && !s.column.identity) keys.keyColumns << s.column.name.toLower();
    m_out += QLatin1String("ALTER TABLE ");
    ident(s.table);
    m_out += QLatin1String(" ADD COLUMN ");
    ident(s.column.name);
    columnDefinition(s.column, keys);
}

void SqlPrinter::drop(const DropStmt& s) {
    static const char* const kWhat[] = {"DROP TABLE ", "DROP VIEW ", "", "DROP INDEX "};
    if (s.what == DropStmt::What::Function || s.names.isEmpty()) return;
    m_out += QLatin1String(kWhat[int(s.what)]);
    if (s.ifExists) m_out += QLatin1String("IF EXISTS ");
    ident(s.names.first());
}

}  // namespace md::sql
