#include "tsql/inline.h"

#include "tsql/tsqlerror.h"

namespace md::sql {

using namespace ast;

namespace {

constexpr int kMaxDepth = 16;  // functions calling functions; deeper means a cycle

class Inliner {
  public:
    explicit Inliner(const Catalog& catalog) : m_catalog(catalog) {}

    void select(Select& s, int depth) {
        if (s.top) expr(s.top, depth);
        for (SelectItem& item : s.items) expr(item.expr, depth);
        for (TableRefPtr& ref : s.from) tableRef(ref, depth);
        if (s.where) expr(s.where, depth);
        for (ExprPtr& g : s.groupBy) expr(g, depth);
        if (s.having) expr(s.having, depth);
        for (Select::Part& p : s.parts) select(*p.select, depth);
        for (OrderItem& o : s.orderBy) expr(o.expr, depth);
    }

    void tableRef(TableRefPtr& ref, int depth) {
        switch (ref->kind) {
            case TableRef::Kind::Table:
                return;
            case TableRef::Kind::Derived:
                select(*ref->select, depth);
                return;
            case TableRef::Kind::Join:
                tableRef(ref->left, depth);
                tableRef(ref->right, depth);
                if (ref->on) expr(ref->on, depth);
                return;
            case TableRef::Kind::Function:
                break;
        }
        for (ExprPtr& a : ref->args) expr(a, depth);
        const FunctionInfo* f = m_catalog.function(ref->name);
        if (!f || !f->returnsTable || !f->body) return;
        const auto* body = dynamic_cast<const Select*>(f->body.get());
        if (!body) return;
        checkCall(*f, ref->args.size(), ref->line, ref->column, depth);
        SelectPtr copy = clone(*body);
        substitute(*copy, Call{*f, ref->args}, 1);
        select(*copy, depth + 1);
        ref->kind = TableRef::Kind::Derived;
        ref->select = std::move(copy);
        ref->args.clear();
        if (ref->alias.isEmpty()) ref->alias = ref->name;  // "fn.col" still reaches its columns
    }

    void expr(ExprPtr& slot, int depth) {
        Expr& e = *slot;
        for (ExprPtr& a : e.args)
            if (a) expr(a, depth);
        if (e.select) select(*e.select, depth);
        if (e.kind != ExprKind::Call) return;
        const FunctionInfo* f = m_catalog.function(e.text);
        if (!f || f->returnsTable || !f->body) return;
        const auto* body = dynamic_cast<const Expr*>(f->body.get());
        if (!body) return;
        checkCall(*f, e.args.size(), e.line, e.column, depth);
        ExprPtr copy = clone(*body);
        std::vector<ExprPtr> args = std::move(e.args);
        substitute(copy, Call{*f, args}, 0);
        expr(copy, depth + 1);
        // The result has the function's declared type.
        if (f->returnType != SqlType::Unknown && f->returnType != SqlType::Text)
            copy = makeConvert(std::move(copy), f->returnType,
                               f->returnTypeName.section(QLatin1Char('('), 0, 0));
        slot = std::move(copy);
    }

  private:
    void checkCall(const FunctionInfo& f, size_t argCount, int line, int column, int depth) {
        if (depth >= kMaxDepth)
            throwTranslateError(QStringLiteral("函数 '%1' 嵌套调用太深").arg(f.name), line, column);
        if (argCount != size_t(f.params.size()))
            throwTranslateError(QStringLiteral("为函数 '%1' 提供的参数数目不正确").arg(f.name),
                                line, column);
    }

    // The argument for a variable, converted to the parameter's type as the
    // call would convert it. Its columns belong to the caller: they are
    // resolved past the selects of the body they now stand in.
    static ExprPtr argumentFor(const FunctionParam& param, const Expr& arg, int selectDepth) {
        ExprPtr value = clone(arg);
        if (selectDepth > 0) skipScopes(*value, selectDepth);
        if (param.type == SqlType::Text || param.type == SqlType::Unknown) return value;
        return makeConvert(std::move(value), param.type,
                           param.typeName.section(QLatin1Char('('), 0, 0).toLower());
    }

    static void skipScopes(Expr& e, int depth) {
        if (e.kind == ExprKind::Column) e.scopeSkip += depth;
        for (ExprPtr& a : e.args)
            if (a) skipScopes(*a, depth);
    }

    struct Call {
        const FunctionInfo& f;
        const std::vector<ExprPtr>& args;
    };

    void substitute(ExprPtr& slot, const Call& call, int depth) {
        Expr& e = *slot;
        if (e.kind == ExprKind::Variable) {
            for (int i = 0; i < call.f.params.size(); ++i) {
                if (call.f.params[i].name.compare(e.text, Qt::CaseInsensitive) == 0) {
                    slot = argumentFor(call.f.params[i], *call.args[size_t(i)], depth);
                    return;
                }
            }
            return;
        }
        for (ExprPtr& a : e.args)
            if (a) substitute(a, call, depth);
        if (e.select) substitute(*e.select, call, depth + 1);
    }

    void substitute(Select& s, const Call& call, int depth) {
        if (s.top) substitute(s.top, call, depth);
        for (SelectItem& item : s.items) substitute(item.expr, call, depth);
        for (TableRefPtr& ref : s.from) substitute(*ref, call, depth);
        if (s.where) substitute(s.where, call, depth);
        for (ExprPtr& g : s.groupBy) substitute(g, call, depth);
        if (s.having) substitute(s.having, call, depth);
        for (Select::Part& p : s.parts) substitute(*p.select, call, depth);
        for (OrderItem& o : s.orderBy) substitute(o.expr, call, depth);
    }

    void substitute(TableRef& ref, const Call& call, int depth) {
        for (ExprPtr& a : ref.args) substitute(a, call, depth);
        if (ref.select) substitute(*ref.select, call, depth + 1);
        if (ref.left) substitute(*ref.left, call, depth);
        if (ref.right) substitute(*ref.right, call, depth);
        if (ref.on) substitute(ref.on, call, depth);
    }

    const Catalog& m_catalog;
};

}  // namespace

void inlineFunctions(Select& select, const Catalog& catalog) {
    Inliner(catalog).select(select, 0);
}

void inlineFunctions(Stmt& statement, const Catalog& catalog) {
    Inliner inliner(catalog);
    switch (statement.kind) {
        case Stmt::Kind::Select:
            inliner.select(*static_cast<SelectStmt&>(statement).select, 0);
            break;
        case Stmt::Kind::CreateView:
            inliner.select(*static_cast<CreateViewStmt&>(statement).select, 0);
            break;
        case Stmt::Kind::Insert: {
            auto& s = static_cast<InsertStmt&>(statement);
            for (auto& row : s.rows)
                for (ExprPtr& e : row) inliner.expr(e, 0);
            if (s.select) inliner.select(*s.select, 0);
            break;
        }
        case Stmt::Kind::Update: {
            auto& s = static_cast<UpdateStmt&>(statement);
            for (SetItem& item : s.sets) inliner.expr(item.value, 0);
            for (TableRefPtr& ref : s.from) inliner.tableRef(ref, 0);
            if (s.where) inliner.expr(s.where, 0);
            break;
        }
        case Stmt::Kind::Delete: {
            auto& s = static_cast<DeleteStmt&>(statement);
            for (TableRefPtr& ref : s.from) inliner.tableRef(ref, 0);
            if (s.where) inliner.expr(s.where, 0);
            break;
        }
        case Stmt::Kind::Exec:
            for (ExprPtr& e : static_cast<ExecStmt&>(statement).args) inliner.expr(e, 0);
            break;
        case Stmt::Kind::CreateTable:
            for (ColumnDef& c : static_cast<CreateTableStmt&>(statement).columns)
                if (c.defaultValue) inliner.expr(c.defaultValue, 0);
            break;
        case Stmt::Kind::AlterTable: {
            ColumnDef& c = static_cast<AlterTableStmt&>(statement).column;
            if (c.defaultValue) inliner.expr(c.defaultValue, 0);
            break;
        }
        case Stmt::Kind::CreateFunction:
        case Stmt::Kind::CreateIndex:
        case Stmt::Kind::Drop:
            break;
    }
}

}  // namespace md::sql
