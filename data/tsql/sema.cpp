#include "tsql/sema.h"

#include <cmath>
#include <functional>

#include "tsql/tsqlerror.h"
#include "tsql/valueconv.h"

namespace md::sql {

using namespace ast;

struct Analyzer::Scope {
    struct Source {
        QString name;  // what qualifies its columns: the alias, else the table name
        std::vector<SourceColumn> columns;
        bool known = false;  // the column list is complete
    };
    std::vector<Source> sources;
    const Scope* outer = nullptr;

    const Source* source(QStringView name) const {
        for (const Source& s : sources)
            if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
        return nullptr;
    }
};

namespace {

bool isNumeric(SqlType t) {
    return t == SqlType::Integer || t == SqlType::Decimal || t == SqlType::Float ||
           t == SqlType::Bit;
}

bool isDateLike(SqlType t) {
    return t == SqlType::DateTime || t == SqlType::Date;
}

// A value whose text SQL Server would convert to the other side's type.
bool isTextLike(const Expr& e) {
    return e.valueType == SqlType::Text || e.kind == ExprKind::Param;
}

bool isLiteral(const Expr& e) {
    return e.kind == ExprKind::String || e.kind == ExprKind::Number;
}

// SQL Server's data type precedence: the higher type wins a mixed expression.
int precedence(SqlType t) {
    switch (t) {
        case SqlType::DateTime:
            return 9;
        case SqlType::Date:
            return 8;
        case SqlType::Time:
            return 7;
        case SqlType::Float:
            return 6;
        case SqlType::Decimal:
            return 5;
        case SqlType::Integer:
            return 4;
        case SqlType::Bit:
            return 3;
        case SqlType::Text:
            return 2;
        case SqlType::Blob:
            return 1;
        case SqlType::Unknown:
            return 0;
    }
    return 0;
}

SqlType higher(SqlType a, SqlType b) {
    return precedence(a) >= precedence(b) ? a : b;
}

const SourceColumn* findColumn(const std::vector<SourceColumn>& columns, QStringView name) {
    for (const SourceColumn& c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

void typeNumberLiteral(Expr& e) {
    const QString& t = e.text;
    if (t.contains(QLatin1Char('e')) || t.contains(QLatin1Char('E'))) {
        e.valueType = SqlType::Float;
    } else if (const qsizetype point = t.indexOf(QLatin1Char('.')); point >= 0) {
        e.valueType = SqlType::Decimal;
        e.scale = int(t.size() - point - 1);
    } else {
        bool ok = false;
        t.toLongLong(&ok);
        e.valueType = ok ? SqlType::Integer : SqlType::Decimal;
        if (!ok) e.scale = 0;
    }
}

ExprPtr literal(const Expr& at, ExprKind kind, const QString& text, SqlType type, int scale = -1) {
    ExprPtr e = makeExpr(kind, at);
    e->text = text;
    e->valueType = type;
    e->scale = scale;
    e->typed = true;
    return e;
}

// The literal a conversion of a literal gives, or null when the value does not
// convert (then the conversion stays, to fail when run, as on SQL Server).
ExprPtr foldConvert(const Expr& c) {
    const Expr& v = *c.args[0];
    if (v.kind == ExprKind::Null) return literal(c, ExprKind::Null, {}, c.valueType);
    if (!isLiteral(v)) return nullptr;
    const bool isText = v.kind == ExprKind::String;
    // The number as a double, for numeric literals.
    const double number = isText ? 0.0 : v.text.toDouble();
    switch (c.type.type) {
        case SqlType::DateTime:
        case SqlType::Date:
        case SqlType::Time: {
            if (isText && isDateLike(v.valueType) && c.type.type == v.valueType) return clone(v);
            const auto d =
                isText ? values::parseDateTime(v.text) : values::dateTimeFromDays(number);
            if (!d) return nullptr;
            const QString text = c.type.type == SqlType::DateTime ? values::formatDateTime(*d)
                                 : c.type.type == SqlType::Date   ? values::formatDate(*d)
                                                                  : values::formatTime(*d);
            return literal(c, ExprKind::String, text, c.type.type);
        }
        case SqlType::Integer: {
            if (isText) {
                const auto n = values::parseInteger(v.text);
                return n ? literal(c, ExprKind::Number, QString::number(*n), SqlType::Integer)
                         : nullptr;
            }
            if (!std::isfinite(number) || std::fabs(number) > 9.2e18) return nullptr;
            return literal(c, ExprKind::Number, QString::number(qint64(std::trunc(number))),
                           SqlType::Integer);
        }
        case SqlType::Decimal:
        case SqlType::Float: {
            std::optional<double> n = number;
            // Blank text is 0 as money; we take it so for every decimal.
            if (isText)
                n = c.type.type == SqlType::Float || v.text.trimmed().isEmpty()
                        ? values::parseFloat(v.text)
                        : values::parseDecimal(v.text);
            if (!n) return nullptr;
            const int scale = c.type.type == SqlType::Decimal ? c.type.scale : -1;
            return literal(c, ExprKind::Number, values::formatNumber(*n, scale), c.type.type,
                           c.scale);
        }
        case SqlType::Bit: {
            if (isText) {
                if (v.text.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                    return literal(c, ExprKind::Number, QStringLiteral("1"), SqlType::Bit);
                if (v.text.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                    return literal(c, ExprKind::Number, QStringLiteral("0"), SqlType::Bit);
                const auto n =
                    v.text.trimmed().isEmpty() ? std::nullopt : values::parseFloat(v.text);
                if (!n) return nullptr;
                return literal(c, ExprKind::Number,
                               *n != 0 ? QStringLiteral("1") : QStringLiteral("0"), SqlType::Bit);
            }
            return literal(c, ExprKind::Number,
                           number != 0 ? QStringLiteral("1") : QStringLiteral("0"), SqlType::Bit);
        }
        case SqlType::Text: {
            QString text = v.text;
            if (!isText) {
                if (v.valueType == SqlType::Float) text = values::formatFloat(number);
            } else if (isDateLike(v.valueType) && c.style >= 0) {
                if (const auto d = values::parseDateTime(v.text))
                    text = values::formatDateTimeStyle(*d, c.style);
            }
            const int length = c.type.length == 0 ? 30 : c.type.length;
            if (length > 0) text = text.left(length);
            return literal(c, ExprKind::String, text, SqlType::Text);
        }
        default:
            return nullptr;
    }
}

}  // namespace

int displayScale(const TypeRef& type) {
    if (type.name == QLatin1String("money") || type.name == QLatin1String("smallmoney")) return 2;
    if (type.type == SqlType::Decimal) return type.scale;
    return -1;
}

SourceColumn sourceColumn(const ColumnInfo& column) {
    SourceColumn c;
    c.name = column.name;
    c.typeName = column.typeName;
    c.type = column.type;
    c.plain = !column.computed;
    if (column.type == SqlType::Decimal) {
        const QString lower = column.typeName.toLower();
        if (lower.startsWith(QLatin1String("money")) ||
            lower.startsWith(QLatin1String("smallmoney"))) {
            c.scale = 2;
        } else if (const qsizetype comma = lower.indexOf(QLatin1Char(',')); comma >= 0) {
            c.scale = lower.mid(comma + 1).remove(QLatin1Char(')')).trimmed().toInt();
        } else {
            c.scale = 0;
        }
    }
    return c;
}

void Analyzer::setVariable(const QString& name, SqlType type, int scale) {
    SourceColumn c;
    c.name = name;
    c.type = type;
    c.scale = scale;
    m_variables.insert(name.toLower(), c);
}

// ---- statements -------------------------------------------------------------

void Analyzer::analyzeStatement(Stmt& statement) {
    switch (statement.kind) {
        case Stmt::Kind::Select:
            analyzeSelect(*static_cast<SelectStmt&>(statement).select, nullptr);
            break;
        case Stmt::Kind::Insert:
            analyzeInsert(static_cast<InsertStmt&>(statement));
            break;
        case Stmt::Kind::Update:
            analyzeUpdate(static_cast<UpdateStmt&>(statement));
            break;
        case Stmt::Kind::Delete:
            analyzeDelete(static_cast<DeleteStmt&>(statement));
            break;
        case Stmt::Kind::Exec:
            for (ExprPtr& arg : static_cast<ExecStmt&>(statement).args) analyzeExpr(arg, nullptr);
            break;
        case Stmt::Kind::CreateTable:
            analyzeCreateTable(static_cast<CreateTableStmt&>(statement));
            break;
        case Stmt::Kind::CreateView:
            analyzeSelect(*static_cast<CreateViewStmt&>(statement).select, nullptr);
            break;
        case Stmt::Kind::AlterTable: {
            // The added column's default and check, as in a table of its own.
            auto& alter = static_cast<AlterTableStmt&>(statement);
            CreateTableStmt one;
            one.name = alter.table;
            one.columns.push_back(std::move(alter.column));
            analyzeCreateTable(one);
            alter.column = std::move(one.columns.front());
            break;
        }
        case Stmt::Kind::CreateFunction:
        case Stmt::Kind::CreateIndex:
        case Stmt::Kind::Drop:
            break;
    }
}

void Analyzer::analyzeInsert(InsertStmt& s) {
    s.info = m_catalog.table(s.table);
    std::vector<const ColumnInfo*> targets;
    if (s.info) {
        if (s.columns.isEmpty()) {
            for (const ColumnInfo& c : s.info->columns)
                if (!c.identity) targets.push_back(&c);
        } else {
            for (const QString& name : s.columns) targets.push_back(s.info->column(name));
        }
    }
    auto target = [&](size_t i) { return i < targets.size() ? targets[i] : nullptr; };
    for (auto& row : s.rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            analyzeExpr(row[i], nullptr);
            coerceAssignment(row[i], target(i));
        }
    }
    if (s.select) {
        analyzeSelect(*s.select, nullptr);
        auto coerceBranch = [&](Select& branch) {
            for (size_t i = 0; i < branch.items.size(); ++i) {
                if (branch.items[i].expr->kind == ExprKind::Star)
                    return;  // positions no longer known
                coerceAssignment(branch.items[i].expr, target(i));
            }
        };
        coerceBranch(*s.select);
        for (Select::Part& part : s.select->parts) coerceBranch(*part.select);
    }
}

namespace {
// The source of the FROM clause that an update or delete names as its target:
// its alias; else the one source of that table, aliased or not (SQL Server
// takes "update t ... from t a" as the rows of a).
TableRef* findTarget(std::vector<TableRefPtr>& from, const QString& name) {
    TableRef* byAlias = nullptr;
    std::vector<TableRef*> byName;
    std::function<void(TableRef&)> visit = [&](TableRef& ref) {
        if (ref.kind == TableRef::Kind::Join) {
            visit(*ref.left);
            visit(*ref.right);
            return;
        }
        if (ref.kind != TableRef::Kind::Table) return;
        if (!ref.alias.isEmpty() && ref.alias.compare(name, Qt::CaseInsensitive) == 0)
            byAlias = &ref;
        else if (Catalog::normalizedName(ref.name) == Catalog::normalizedName(name))
            byName.push_back(&ref);
    };
    for (TableRefPtr& ref : from) visit(*ref);
    if (byAlias) return byAlias;
    return byName.size() == 1 ? byName.front() : nullptr;
}
}  // namespace

template <typename WriteStmt>
void Analyzer::analyzeWriteTarget(WriteStmt& s, Scope& scope) {
    s.targetInFrom = findTarget(s.from, s.table);
    s.targetTable = s.targetInFrom ? s.targetInFrom->name : s.table;
    s.info = m_catalog.table(s.targetTable);
    for (TableRefPtr& ref : s.from) addSource(*ref, scope, nullptr);
    if (!s.targetInFrom) {
        Scope::Source self;
        self.name = s.table;
        if (s.info) {
            for (const ColumnInfo& c : s.info->columns) self.columns.push_back(sourceColumn(c));
            self.known = true;
        }
        scope.sources.push_back(std::move(self));
    }
    for (TableRefPtr& ref : s.from) analyzeJoinConditions(*ref, scope);
}

void Analyzer::analyzeUpdate(UpdateStmt& s) {
    Scope scope;
    analyzeWriteTarget(s, scope);
    for (SetItem& item : s.sets) {
        analyzeExpr(item.value, &scope);
        coerceAssignment(item.value, s.info ? s.info->column(item.column) : nullptr);
    }
    if (s.where) analyzeExpr(s.where, &scope);
}

void Analyzer::analyzeDelete(DeleteStmt& s) {
    Scope scope;
    analyzeWriteTarget(s, scope);
    if (s.where) analyzeExpr(s.where, &scope);
}

void Analyzer::analyzeCreateTable(CreateTableStmt& s) {
    Scope scope;
    Scope::Source self;
    self.name = s.name;
    self.known = true;
    for (const ColumnDef& def : s.columns) {
        SourceColumn c;
        c.name = def.name;
        c.type = def.type.type;
        c.scale = displayScale(def.type);
        c.plain = true;
        self.columns.push_back(c);
    }
    scope.sources.push_back(std::move(self));
    for (ColumnDef& def : s.columns) {
        if (def.defaultValue) {
            analyzeExpr(def.defaultValue, nullptr);
            ColumnInfo info;
            info.name = def.name;
            info.type = def.type.type;
            info.typeName = def.type.text();
            coerceAssignment(def.defaultValue, &info);
        }
        if (def.check) analyzeExpr(def.check, &scope);
    }
    for (TableConstraint& c : s.constraints)
        if (c.check) analyzeExpr(c.check, &scope);
}

// ---- selects ----------------------------------------------------------------

void Analyzer::analyzeSelect(Select& select) {
    analyzeSelect(select, nullptr);
}

void Analyzer::analyzeSelect(Select& select, const Scope* outer) {
    Scope scope;
    scope.outer = outer;
    analyzeCore(select, outer, scope);
    computeResultColumns(select, scope);
    for (Select::Part& part : select.parts) {
        analyzeSelect(*part.select, outer);
        // Names come from the first branch; a type it leaves open, from the others.
        const auto& other = part.select->resultColumns;
        for (size_t i = 0; i < select.resultColumns.size() && i < other.size(); ++i)
            if (select.resultColumns[i].type == SqlType::Unknown)
                select.resultColumns[i].type = other[i].type;
        select.resultKnown = select.resultKnown && part.select->resultKnown;
    }
    for (OrderItem& item : select.orderBy) {
        Expr& e = *item.expr;
        if (e.kind == ExprKind::Column && e.qualifier.isEmpty()) {
            if (const SourceColumn* c = findColumn(select.resultColumns, e.text)) {
                e.valueType = c->type;
                e.scale = c->scale;
                e.plainColumn = c->plain;
                e.typed = true;
                continue;
            }
        }
        analyzeExpr(item.expr, &scope);
    }
}

void Analyzer::analyzeCore(Select& select, const Scope* outer, Scope& scope) {
    for (TableRefPtr& ref : select.from) addSource(*ref, scope, outer);
    for (TableRefPtr& ref : select.from) analyzeJoinConditions(*ref, scope);
    if (select.top) analyzeExpr(select.top, &scope);
    for (SelectItem& item : select.items)
        if (item.expr->kind != ExprKind::Star) analyzeExpr(item.expr, &scope);
    if (select.where) analyzeExpr(select.where, &scope);
    for (ExprPtr& g : select.groupBy) analyzeExpr(g, &scope);
    if (select.having) analyzeExpr(select.having, &scope);
}

void Analyzer::addSource(TableRef& ref, Scope& scope, const Scope* outer) {
    Scope::Source source;
    source.name = ref.refName();
    switch (ref.kind) {
        case TableRef::Kind::Table:
            ref.table = m_catalog.table(ref.name);
            if (ref.table) {
                for (const ColumnInfo& c : ref.table->columns)
                    source.columns.push_back(sourceColumn(c));
                source.known = true;
            }
            break;
        case TableRef::Kind::Function:  // not in the catalog: its columns are unknown
            for (ExprPtr& arg : ref.args) analyzeExpr(arg, outer);
            break;
        case TableRef::Kind::Derived:
            analyzeSelect(*ref.select, outer);
            source.columns = ref.select->resultColumns;
            source.known = ref.select->resultKnown;
            break;
        case TableRef::Kind::Join:
            addSource(*ref.left, scope, outer);
            addSource(*ref.right, scope, outer);
            return;
    }
    scope.sources.push_back(std::move(source));
}

void Analyzer::analyzeJoinConditions(TableRef& ref, const Scope& scope) {
    if (ref.kind != TableRef::Kind::Join) return;
    analyzeJoinConditions(*ref.left, scope);
    analyzeJoinConditions(*ref.right, scope);
    if (ref.on) analyzeExpr(ref.on, &scope);
}

void Analyzer::computeResultColumns(Select& select, const Scope& scope) {
    select.resultColumns.clear();
    select.resultKnown = true;
    for (const SelectItem& item : select.items) {
        const Expr& e = *item.expr;
        if (e.kind == ExprKind::Star) {
            for (const Scope::Source& s : scope.sources) {
                if (!e.qualifier.isEmpty() && s.name.compare(e.qualifier, Qt::CaseInsensitive) != 0)
                    continue;
                if (!s.known) select.resultKnown = false;
                select.resultColumns.insert(select.resultColumns.end(), s.columns.begin(),
                                            s.columns.end());
            }
            if (!e.qualifier.isEmpty() && !scope.source(e.qualifier)) select.resultKnown = false;
            continue;
        }
        SourceColumn c;
        c.name = !item.alias.isEmpty()        ? item.alias
                 : e.kind == ExprKind::Column ? e.text
                                              : QString();
        c.type = e.valueType;
        c.scale = e.scale;
        c.plain = e.kind == ExprKind::Column && e.plainColumn;
        if (e.kind == ExprKind::Convert) c.typeName = e.type.text();
        if (e.kind == ExprKind::Column) c.typeName = e.typeName;
        select.resultColumns.push_back(c);
    }
}

// ---- expressions ------------------------------------------------------------

void Analyzer::analyzeExpr(ExprPtr& slot, const Scope* scope) {
    Expr& e = *slot;
    switch (e.kind) {
        case ExprKind::Null:
        case ExprKind::Star:
        case ExprKind::Param:
            break;
        case ExprKind::String:
            if (!e.typed) e.valueType = SqlType::Text;
            break;
        case ExprKind::Number:
            if (!e.typed) typeNumberLiteral(e);
            break;
        case ExprKind::Column:
            analyzeColumn(e, scope);
            break;
        case ExprKind::Variable: {
            const auto it = m_variables.constFind(e.text.toLower());
            if (it == m_variables.constEnd())
                throwTranslateError(QStringLiteral("必须声明标量变量 '%1'").arg(e.text), e.line,
                                    e.column);
            e.valueType = it->type;
            e.scale = it->scale;
            break;
        }
        case ExprKind::Unary:
            analyzeExpr(e.args[0], scope);
            e.valueType = e.op == Op::BitNot ? SqlType::Integer : e.args[0]->valueType;
            e.scale = e.args[0]->scale;
            break;
        case ExprKind::Binary:
            analyzeExpr(e.args[0], scope);
            analyzeExpr(e.args[1], scope);
            analyzeBinary(e);
            break;
        case ExprKind::Compare:
            analyzeExpr(e.args[0], scope);
            analyzeExpr(e.args[1], scope);
            coerceComparison(e.args[0], e.args[1]);
            e.valueType = SqlType::Bit;
            break;
        case ExprKind::And:
        case ExprKind::Or:
        case ExprKind::Not:
        case ExprKind::Like:
        case ExprKind::IsNull:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            e.valueType = SqlType::Bit;
            break;
        case ExprKind::InList:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            for (size_t i = 1; i < e.args.size(); ++i) coerceComparison(e.args[0], e.args[i]);
            e.valueType = SqlType::Bit;
            break;
        case ExprKind::Between:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            coerceComparison(e.args[0], e.args[1]);
            coerceComparison(e.args[0], e.args[2]);
            e.valueType = SqlType::Bit;
            break;
        case ExprKind::InSelect: {
            analyzeExpr(e.args[0], scope);
            analyzeSelect(*e.select, scope);
            // Compare with a stand-in for the sub-select's column, for the conversions.
            if (!e.select->resultColumns.empty()) {
                const SourceColumn& c = e.select->resultColumns.front();
                ExprPtr standIn = makeExpr(ExprKind::Column, e);
                standIn->valueType = c.type;
                standIn->plainColumn = c.plain;
                coerceComparison(e.args[0], standIn);
            }
            e.valueType = SqlType::Bit;
            break;
        }
        case ExprKind::Exists:
            analyzeSelect(*e.select, scope);
            e.valueType = SqlType::Bit;
            break;
        case ExprKind::Case:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            analyzeCase(e);
            break;
        case ExprKind::Subquery:
            analyzeSelect(*e.select, scope);
            if (!e.select->resultColumns.empty()) {
                e.valueType = e.select->resultColumns.front().type;
                e.scale = e.select->resultColumns.front().scale;
            }
            break;
        case ExprKind::Call:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            analyzeCall(e);
            break;
        case ExprKind::Convert:
            for (ExprPtr& a : e.args) analyzeExpr(a, scope);
            analyzeConvert(e);
            e.typed = true;
            if (ExprPtr folded = foldConvert(e)) slot = std::move(folded);
            return;
    }
    e.typed = true;
}

void Analyzer::analyzeColumn(Expr& e, const Scope* scope) {
    const Scope* start = scope;
    for (int k = 0; k < e.scopeSkip && start; ++k) start = start->outer;
    for (const Scope* s = start; s; s = s->outer) {
        if (!e.qualifier.isEmpty()) {
            const Scope::Source* source = s->source(e.qualifier);
            if (!source) continue;
            if (const SourceColumn* c = findColumn(source->columns, e.text)) {
                e.valueType = c->type;
                e.scale = c->scale;
                e.plainColumn = c->plain;
                e.typeName = c->typeName;
            }
            return;
        }
        for (const Scope::Source& source : s->sources) {
            if (const SourceColumn* c = findColumn(source.columns, e.text)) {
                e.valueType = c->type;
                e.scale = c->scale;
                e.plainColumn = c->plain;
                e.typeName = c->typeName;
                // An inlined argument names its source, so that the body's own
                // sources cannot take it.
                if (e.scopeSkip > 0) e.qualifier = source.name;
                return;
            }
        }
    }
}

void Analyzer::analyzeBinary(Expr& e) {
    const Expr& l = *e.args[0];
    const Expr& r = *e.args[1];
    const SqlType lt = l.valueType, rt = r.valueType;
    e.scale = qMax(l.scale, r.scale);
    switch (e.op) {
        case Op::Add:
        case Op::Concat:
        case Op::DynAdd:
            // A text literal meeting a number is converted to it, as SQL Server does.
            if (isNumeric(lt) && r.kind == ExprKind::String) {
                coerceToType(e.args[1], lt, l.scale);
                return analyzeBinary(e);
            }
            if (isNumeric(rt) && l.kind == ExprKind::String) {
                coerceToType(e.args[0], rt, r.scale);
                return analyzeBinary(e);
            }
            if (lt == SqlType::Text && rt == SqlType::Text) {
                e.op = Op::Concat;
                e.valueType = SqlType::Text;
                e.scale = -1;
            } else if (isNumeric(lt) && isNumeric(rt)) {
                e.op = Op::Add;
                e.valueType = higher(higher(lt, rt), SqlType::Integer);
            } else {
                // One side's type is open (a parameter, an unknown column): the
                // values decide per row, as SQL Server's types would.
                e.op = Op::DynAdd;
                e.valueType = lt == SqlType::Text || rt == SqlType::Text ? SqlType::Text
                              : isNumeric(lt)                            ? lt
                              : isNumeric(rt)                            ? rt
                                                                         : SqlType::Unknown;
            }
            break;
        case Op::Sub:
        case Op::Mul:
        case Op::Div:
        case Op::Mod:
            // An operand of open type may hold money: an integer on the other
            // side does not make the result an integer.
            if (isNumeric(lt) && isNumeric(rt))
                e.valueType = higher(higher(lt, rt), SqlType::Integer);
            else if (isNumeric(lt) && lt != SqlType::Integer)
                e.valueType = lt;
            else if (isNumeric(rt) && rt != SqlType::Integer)
                e.valueType = rt;
            break;
        default:
            e.valueType = SqlType::Integer;
            break;
    }
}

void Analyzer::analyzeCall(Expr& e) {
    const QString name = e.text.toLower();
    auto argType = [&](size_t i) {
        return i < e.args.size() ? e.args[i]->valueType : SqlType::Unknown;
    };
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (name == QLatin1String(n)) return true;
        return false;
    };
    // Ranking and offset functions need OVER (...), which no text of ours uses
    // and the parser does not take; without it SQL Server refuses them as well.
    if (is({"row_number", "rank", "dense_rank", "ntile", "lag", "lead", "first_value", "last_value",
            "nth_value", "percent_rank", "cume_dist"}))
        throwUnsupportedSyntax(e.text + QStringLiteral("() OVER"), e.line, e.column);
    if (name == QLatin1String("isnull") && e.args.size() == 2) {
        // The replacement takes the type of the checked value. When that is
        // open, a number replacing it says nothing of it: isnull(x,0) over a
        // money column is money.
        const Expr& x = *e.args[0];
        const SqlType replacement = e.args[1]->valueType;
        if (x.valueType != SqlType::Unknown) coerceToType(e.args[1], x.valueType, x.scale);
        e.valueType = x.valueType != SqlType::Unknown ? x.valueType
                      : isNumeric(replacement)        ? SqlType::Unknown
                                                      : replacement;
        e.scale = x.scale;
    } else if (is({"coalesce"})) {
        for (const ExprPtr& a : e.args)
            if (a->valueType != SqlType::Unknown) e.valueType = higher(e.valueType, a->valueType);
    } else if (is({"nullif", "abs", "round", "ceiling", "floor", "sign", "max", "min", "avg"})) {
        e.valueType = argType(0);
        e.scale = e.args.empty() ? -1 : e.args[0]->scale;
    } else if (is({"sum"})) {
        e.valueType = argType(0) == SqlType::Bit ? SqlType::Integer : argType(0);
        e.scale = e.args.empty() ? -1 : e.args[0]->scale;
    } else if (is({"getdate", "sysdatetime", "getutcdate"})) {
        e.valueType = SqlType::DateTime;
    } else if (is({"year", "month", "day", "len", "datalength", "charindex", "patindex", "count",
                   "count_big", "datediff", "datepart"})) {
        e.valueType = SqlType::Integer;
    } else if (is({"left", "right", "substring", "upper", "lower", "ltrim", "rtrim", "trim",
                   "replace", "reverse", "space", "replicate", "str", "char", "nchar", "newid",
                   "stuff", "quotename"})) {
        e.valueType = SqlType::Text;
    }
}

void Analyzer::analyzeCase(Expr& e) {
    const size_t first = e.hasBase ? 1 : 0;
    const size_t whenEnd = e.args.size() - (e.hasElse ? 1 : 0);
    if (e.hasBase)
        for (size_t i = first; i < whenEnd; i += 2) coerceComparison(e.args[0], e.args[i]);
    std::vector<size_t> results;
    for (size_t i = first + 1; i < whenEnd; i += 2) results.push_back(i);
    if (e.hasElse) results.push_back(e.args.size() - 1);
    SqlType type = SqlType::Unknown;
    for (size_t i : results) type = higher(type, e.args[i]->valueType);
    e.valueType = type;
    for (size_t i : results) {
        e.scale = qMax(e.scale, e.args[i]->scale);
        if (type != SqlType::Text) coerceToType(e.args[i], type, e.args[i]->scale);
    }
}

void Analyzer::analyzeConvert(Expr& e) {
    e.valueType = e.type.type;
    e.scale = displayScale(e.type);
    if (e.type.type == SqlType::Unknown)
        throwTranslateError(QStringLiteral("类型 '%1' 未知").arg(e.type.name), e.line, e.column);
}

// ---- implicit conversions ---------------------------------------------------

ExprPtr Analyzer::convertTo(ExprPtr value, SqlType type, int scale) {
    ExprPtr c = makeConvert(std::move(value), type);
    if (type == SqlType::Decimal) {
        c->type.length = 18;
        c->type.scale = scale;
    }
    analyzeConvert(*c);
    c->typed = true;
    if (ExprPtr folded = foldConvert(*c)) return folded;
    return c;
}

void Analyzer::coerceToType(ExprPtr& slot, SqlType type, int scale) {
    const Expr& v = *slot;
    if (v.kind == ExprKind::Null || type == SqlType::Unknown || v.valueType == type) return;
    if (v.valueType == SqlType::Unknown && v.kind != ExprKind::Param) return;
    if (isNumeric(type) && isNumeric(v.valueType)) return;  // numbers mix freely
    slot = convertTo(std::move(slot), type, scale);
}

void Analyzer::coerceComparison(ExprPtr& left, ExprPtr& right) {
    const SqlType lt = left->valueType, rt = right->valueType;
    if (isDateLike(lt) && isDateLike(rt)) {
        // A date meets a datetime as its midnight.
        if (lt != rt) {
            ExprPtr& dateSide = lt == SqlType::Date ? left : right;
            dateSide = convertTo(std::move(dateSide), SqlType::DateTime, -1);
        }
        return;
    }
    if (isDateLike(lt) && isTextLike(*right)) {
        right = convertTo(std::move(right), lt, -1);
        return;
    }
    if (isDateLike(rt) && isTextLike(*left)) {
        left = convertTo(std::move(left), rt, -1);
        return;
    }
    // A number against text compares as numbers. A table column converts the
    // other side by itself (its type affinity); literals are converted here.
    if (isNumeric(lt) && isTextLike(*right)) {
        if (right->kind == ExprKind::String || !left->plainColumn)
            right = convertTo(std::move(right), lt, left->scale);
        return;
    }
    if (isNumeric(rt) && isTextLike(*left)) {
        if (left->kind == ExprKind::String || !right->plainColumn)
            left = convertTo(std::move(left), rt, right->scale);
        return;
    }
    // SQLite compares with the left column's collation: a schema text column
    // ignores case by itself; anything else is told to. A column the catalog
    // does not know is taken as a schema column.
    const bool leftIsColumn =
        left->kind == ExprKind::Column &&
        ((left->plainColumn && lt == SqlType::Text) || lt == SqlType::Unknown);
    if ((lt == SqlType::Text || rt == SqlType::Text) && !leftIsColumn) left->collateNoCase = true;
}

void Analyzer::coerceAssignment(ExprPtr& slot, const ColumnInfo* column) {
    if (!column || slot->kind == ExprKind::Null) return;
    const SqlType t = column->type;
    if (isDateLike(t) && slot->valueType != t) {
        slot = convertTo(std::move(slot), t, -1);
    } else if (isNumeric(t) && slot->kind == ExprKind::String) {
        slot = convertTo(std::move(slot), t, sourceColumn(*column).scale);
    }
}

}  // namespace md::sql
