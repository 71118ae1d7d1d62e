#pragma once
// Rewrites for SQLite of statements it has no direct form for.
#include "tsql/ast.h"

namespace md::sql {

// UPDATE/DELETE whose target is a source of their FROM clause are rewritten to
// address rows by rowid; union branches with TOP become derived tables.
void rewriteForSqlite(ast::Stmt& statement);

}  // namespace md::sql
