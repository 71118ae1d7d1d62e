#include "tsql/sqlitepasses.h"

#include <functional>

namespace md::sql {

using namespace ast;

namespace {

// The alias of an update's target in the rewritten statement; no window names
// a source like this.
const QString kTargetAlias = QStringLiteral("md_target");

ExprPtr column(const QString& qualifier, const QString& name, const Node& at) {
    ExprPtr e = makeExpr(ExprKind::Column, at);
    e->qualifier = qualifier;
    e->text = name;
    return e;
}

ExprPtr andOf(ExprPtr a, ExprPtr b) {
    if (!b) return a;
    ExprPtr e = makeExpr(ExprKind::And, *a);
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    return e;
}

std::vector<TableRefPtr> cloneFrom(const std::vector<TableRefPtr>& from) {
    std::vector<TableRefPtr> copy;
    for (const TableRefPtr& ref : from) copy.push_back(clone(*ref));
    return copy;
}

SelectPtr rowidSelect(const QString& source, std::vector<TableRefPtr> from, ExprPtr where,
                      const Node& at, const QString& rowid) {
    auto s = std::make_unique<Select>();
    s->line = at.line;
    s->column = at.column;
    s->items.push_back({column(source, rowid, at), QString()});
    s->from = std::move(from);
    s->where = std::move(where);
    return s;
}

}  // namespace

// "update t set c=b.x from t a join (...) b on ... where ..." updates each row of
// t from its own joined row. SQLite's UPDATE ... FROM would join a second copy
// of t, so the rows are matched through their rowid instead:
//   update t as md_target set c = (select b.x from <from> where a.rowid = md_target.rowid
//     and <where> limit 1) where md_target.rowid in (select a.rowid from <from> where <where>)
// An unmatched row of a left join gets null, as on SQL Server.
void rewriteUpdateByRowAddress(UpdateStmt& s, const QString& rowid) {
    if (s.from.empty() || !s.targetInFrom) return;
    const QString source = s.targetInFrom->refName();
    auto values = std::make_unique<Select>();
    values->line = s.line;
    values->column = s.column;
    for (SetItem& item : s.sets) values->items.push_back({std::move(item.value), QString()});
    values->from = cloneFrom(s.from);
    ExprPtr sameRow = makeExpr(ExprKind::Compare, s);
    sameRow->op = Op::Eq;
    sameRow->args.push_back(column(source, rowid, s));
    sameRow->args.push_back(column(kTargetAlias, rowid, s));
    values->where = andOf(std::move(sameRow), s.where ? clone(*s.where) : nullptr);
    values->top = makeExpr(ExprKind::Number, s);
    values->top->text = QStringLiteral("1");

    ExprPtr filter = makeExpr(ExprKind::InSelect, s);
    filter->args.push_back(column(kTargetAlias, rowid, s));
    filter->select = rowidSelect(source, std::move(s.from), std::move(s.where), s, rowid);
    s.from.clear();
    s.where = std::move(filter);
    s.printAlias = kTargetAlias;
    s.targetInFrom = nullptr;
    if (s.sets.size() == 1) {
        ExprPtr sub = makeExpr(ExprKind::Subquery, s);
        sub->select = std::move(values);
        s.sets.front().value = std::move(sub);
    } else {
        s.setRow = std::move(values);
    }
}

// "delete t from t a join ..." and "delete from t from u where ...".
void rewriteDeleteByRowAddress(DeleteStmt& s, const QString& rowid) {
    if (s.from.empty()) return;
    if (s.targetInFrom) {
        const QString source = s.targetInFrom->refName();
        ExprPtr filter = makeExpr(ExprKind::InSelect, s);
        filter->args.push_back(column(s.targetTable, rowid, s));
        filter->select = rowidSelect(source, std::move(s.from), std::move(s.where), s, rowid);
        s.where = std::move(filter);
    } else {
        auto exists = std::make_unique<Select>();
        exists->line = s.line;
        exists->column = s.column;
        ExprPtr one = makeExpr(ExprKind::Number, s);
        one->text = QStringLiteral("1");
        exists->items.push_back({std::move(one), QString()});
        exists->from = std::move(s.from);
        exists->where = std::move(s.where);
        s.where = makeExpr(ExprKind::Exists, s);
        s.where->select = std::move(exists);
    }
    s.from.clear();
    s.targetInFrom = nullptr;
}

namespace {

SelectPtr wrapAsDerived(SelectPtr inner) {
    auto outer = std::make_unique<Select>();
    outer->line = inner->line;
    outer->column = inner->column;
    outer->items.push_back({makeExpr(ExprKind::Star, *inner), QString()});
    outer->resultColumns = inner->resultColumns;
    outer->resultKnown = inner->resultKnown;
    auto derived = std::make_unique<TableRef>();
    derived->kind = TableRef::Kind::Derived;
    derived->line = inner->line;
    derived->column = inner->column;
    derived->select = std::move(inner);
    outer->from.push_back(std::move(derived));
    return outer;
}

// SQLite allows LIMIT only at the end of a compound select: a branch with TOP
// becomes "select * from (<branch> limit n)".
void wrapTopBranches(Select& s) {
    if (s.parts.empty()) return;
    if (s.top) {
        auto core = std::make_unique<Select>();
        core->line = s.line;
        core->column = s.column;
        core->distinct = s.distinct;
        core->top = std::move(s.top);
        core->items = std::move(s.items);
        core->from = std::move(s.from);
        core->where = std::move(s.where);
        core->groupBy = std::move(s.groupBy);
        core->having = std::move(s.having);
        core->resultColumns = s.resultColumns;
        core->resultKnown = s.resultKnown;
        SelectPtr wrapped = wrapAsDerived(std::move(core));
        s.distinct = false;
        s.items = std::move(wrapped->items);
        s.from = std::move(wrapped->from);
        s.where.reset();
        s.groupBy.clear();
        s.having.reset();
    }
    for (Select::Part& part : s.parts)
        if (part.select->top) part.select = wrapAsDerived(std::move(part.select));
}

void forEachSelect(Select& s, const std::function<void(Select&)>& fn);

void forEachSelect(Expr& e, const std::function<void(Select&)>& fn) {
    for (ExprPtr& a : e.args)
        if (a) forEachSelect(*a, fn);
    if (e.select) forEachSelect(*e.select, fn);
}

void forEachSelect(TableRef& ref, const std::function<void(Select&)>& fn) {
    for (ExprPtr& a : ref.args) forEachSelect(*a, fn);
    if (ref.select) forEachSelect(*ref.select, fn);
    if (ref.left) forEachSelect(*ref.left, fn);
    if (ref.right) forEachSelect(*ref.right, fn);
    if (ref.on) forEachSelect(*ref.on, fn);
}

void forEachSelect(Select& s, const std::function<void(Select&)>& fn) {
    fn(s);
    if (s.top) forEachSelect(*s.top, fn);
    for (SelectItem& item : s.items) forEachSelect(*item.expr, fn);
    for (TableRefPtr& ref : s.from) forEachSelect(*ref, fn);
    if (s.where) forEachSelect(*s.where, fn);
    for (ExprPtr& g : s.groupBy) forEachSelect(*g, fn);
    if (s.having) forEachSelect(*s.having, fn);
    for (Select::Part& p : s.parts) forEachSelect(*p.select, fn);
    for (OrderItem& o : s.orderBy) forEachSelect(*o.expr, fn);
}

void forEachSelect(Stmt& statement, const std::function<void(Select&)>& fn) {
    switch (statement.kind) {
        case Stmt::Kind::Select:
            forEachSelect(*static_cast<SelectStmt&>(statement).select, fn);
            break;
        case Stmt::Kind::CreateView:
            forEachSelect(*static_cast<CreateViewStmt&>(statement).select, fn);
            break;
        case Stmt::Kind::Insert: {
            auto& s = static_cast<InsertStmt&>(statement);
            for (auto& row : s.rows)
                for (ExprPtr& e : row) forEachSelect(*e, fn);
            if (s.select) forEachSelect(*s.select, fn);
            break;
        }
        case Stmt::Kind::Update: {
            auto& s = static_cast<UpdateStmt&>(statement);
            for (SetItem& item : s.sets)
                if (item.value) forEachSelect(*item.value, fn);  // moved into setRow by the rewrite
            if (s.setRow) forEachSelect(*s.setRow, fn);
            for (TableRefPtr& ref : s.from) forEachSelect(*ref, fn);
            if (s.where) forEachSelect(*s.where, fn);
            break;
        }
        case Stmt::Kind::Delete: {
            auto& s = static_cast<DeleteStmt&>(statement);
            for (TableRefPtr& ref : s.from) forEachSelect(*ref, fn);
            if (s.where) forEachSelect(*s.where, fn);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void rewriteForSqlite(Stmt& statement) {
    if (statement.kind == Stmt::Kind::Update)
        rewriteUpdateByRowAddress(static_cast<UpdateStmt&>(statement), QStringLiteral("rowid"));
    if (statement.kind == Stmt::Kind::Delete)
        rewriteDeleteByRowAddress(static_cast<DeleteStmt&>(statement), QStringLiteral("rowid"));
    forEachSelect(statement, wrapTopBranches);
}

}  // namespace md::sql
