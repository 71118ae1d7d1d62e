#include "tsql/ast.h"

namespace md::sql::ast {

QString TypeRef::text() const {
    if (length == -1) return name + QStringLiteral("(max)");
    if (length > 0 && scale >= 0 &&
        (name == QLatin1String("decimal") || name == QLatin1String("numeric")))
        return QStringLiteral("%1(%2,%3)").arg(name).arg(length).arg(scale);
    if (length > 0) return QStringLiteral("%1(%2)").arg(name).arg(length);
    return name;
}

ExprPtr clone(const Expr& e) {
    auto c = std::make_unique<Expr>(e.kind);
    c->line = e.line;
    c->column = e.column;
    c->op = e.op;
    c->negated = e.negated;
    c->distinct = e.distinct;
    c->hasBase = e.hasBase;
    c->hasElse = e.hasElse;
    c->star = e.star;
    c->text = e.text;
    c->qualifier = e.qualifier;
    c->args.reserve(e.args.size());
    for (const ExprPtr& a : e.args) c->args.push_back(a ? clone(*a) : nullptr);
    if (e.select) c->select = clone(*e.select);
    c->type = e.type;
    c->valueType = e.valueType;
    c->scale = e.scale;
    c->plainColumn = e.plainColumn;
    c->collateNoCase = e.collateNoCase;
    c->typed = e.typed;
    c->paramIndex = e.paramIndex;
    c->style = e.style;
    c->scopeSkip = e.scopeSkip;
    c->typeName = e.typeName;
    return c;
}

TableRefPtr clone(const TableRef& t) {
    auto c = std::make_unique<TableRef>();
    c->kind = t.kind;
    c->line = t.line;
    c->column = t.column;
    c->name = t.name;
    c->schema = t.schema;
    c->alias = t.alias;
    for (const ExprPtr& a : t.args) c->args.push_back(clone(*a));
    if (t.select) c->select = clone(*t.select);
    c->joinType = t.joinType;
    if (t.left) c->left = clone(*t.left);
    if (t.right) c->right = clone(*t.right);
    if (t.on) c->on = clone(*t.on);
    c->table = t.table;
    return c;
}

SelectPtr clone(const Select& s) {
    auto c = std::make_unique<Select>();
    c->line = s.line;
    c->column = s.column;
    c->distinct = s.distinct;
    if (s.top) c->top = clone(*s.top);
    for (const SelectItem& item : s.items) c->items.push_back({clone(*item.expr), item.alias});
    for (const TableRefPtr& t : s.from) c->from.push_back(clone(*t));
    if (s.where) c->where = clone(*s.where);
    for (const ExprPtr& g : s.groupBy) c->groupBy.push_back(clone(*g));
    if (s.having) c->having = clone(*s.having);
    for (const Select::Part& p : s.parts) c->parts.push_back({p.op, clone(*p.select)});
    for (const OrderItem& o : s.orderBy) c->orderBy.push_back({clone(*o.expr), o.desc});
    c->resultColumns = s.resultColumns;
    c->resultKnown = s.resultKnown;
    return c;
}

ExprPtr makeExpr(ExprKind kind, const Node& at) {
    auto e = std::make_unique<Expr>(kind);
    e->line = at.line;
    e->column = at.column;
    return e;
}

ExprPtr makeConvert(ExprPtr value, SqlType type, const QString& typeName) {
    auto e = makeExpr(ExprKind::Convert, *value);
    e->type.type = type;
    if (!typeName.isEmpty()) {
        e->type.name = typeName;
    } else {
        switch (type) {
            case SqlType::DateTime:
                e->type.name = QStringLiteral("datetime");
                break;
            case SqlType::Date:
                e->type.name = QStringLiteral("date");
                break;
            case SqlType::Time:
                e->type.name = QStringLiteral("time");
                break;
            case SqlType::Integer:
                e->type.name = QStringLiteral("int");
                break;
            case SqlType::Decimal:
                e->type.name = QStringLiteral("decimal");
                break;
            case SqlType::Float:
                e->type.name = QStringLiteral("float");
                break;
            case SqlType::Bit:
                e->type.name = QStringLiteral("bit");
                break;
            case SqlType::Text:
                e->type.name = QStringLiteral("varchar");
                break;
            default:
                e->type.name = QStringLiteral("varchar");
                break;
        }
    }
    e->args.push_back(std::move(value));
    return e;
}

}  // namespace md::sql::ast
