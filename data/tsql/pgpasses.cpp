#include "tsql/pgpasses.h"

#include "tsql/sqlitepasses.h"

namespace md::sql {

using namespace ast;

namespace {

const QString kRowAddress = QStringLiteral("ctid");

bool innerJoinsOnly(const TableRef& ref) {
    if (ref.kind != TableRef::Kind::Join) return true;
    if (ref.joinType != JoinType::Inner && ref.joinType != JoinType::Cross) return false;
    return innerJoinsOnly(*ref.left) && innerJoinsOnly(*ref.right);
}

// The sources of an inner-join tree, and its join conditions.
void flatten(TableRefPtr ref, std::vector<TableRefPtr>& sources, std::vector<ExprPtr>& conditions) {
    if (ref->kind != TableRef::Kind::Join) {
        sources.push_back(std::move(ref));
        return;
    }
    if (ref->on) conditions.push_back(std::move(ref->on));
    flatten(std::move(ref->left), sources, conditions);
    flatten(std::move(ref->right), sources, conditions);
}

ExprPtr allOf(std::vector<ExprPtr> conditions, const Node& at) {
    if (conditions.empty()) return nullptr;
    if (conditions.size() == 1) return std::move(conditions.front());
    ExprPtr e = makeExpr(ExprKind::And, at);
    e->args = std::move(conditions);
    return e;
}

// "update t set c=b.x from t a join u b on a.k=b.k where ..." becomes
// "update t as a set c=b.x from u b where a.k=b.k and (...)": the target is
// named once, as PostgreSQL wants, and its alias still reaches its columns.
void rewriteUpdate(UpdateStmt& s) {
    if (s.from.empty() || !s.targetInFrom) return;
    for (const TableRefPtr& ref : s.from) {
        if (!innerJoinsOnly(*ref)) {
            // An outer join keeps unmatched target rows: matched through ctid.
            rewriteUpdateByRowAddress(s, kRowAddress);
            return;
        }
    }
    std::vector<TableRefPtr> sources;
    std::vector<ExprPtr> conditions;
    for (TableRefPtr& ref : s.from) flatten(std::move(ref), sources, conditions);
    s.from.clear();
    for (TableRefPtr& ref : sources) {
        if (ref.get() == s.targetInFrom) {
            if (!ref->alias.isEmpty()) s.printAlias = ref->alias;
            continue;
        }
        s.from.push_back(std::move(ref));
    }
    if (s.where) conditions.push_back(std::move(s.where));
    s.where = allOf(std::move(conditions), s);
    s.targetInFrom = nullptr;
}

}  // namespace

void rewriteForPostgres(Stmt& statement) {
    if (statement.kind == Stmt::Kind::Update) rewriteUpdate(static_cast<UpdateStmt&>(statement));
    if (statement.kind == Stmt::Kind::Delete)
        rewriteDeleteByRowAddress(static_cast<DeleteStmt&>(statement), kRowAddress);
}

}  // namespace md::sql
