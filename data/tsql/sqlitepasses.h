#pragma once
// Rewrites for SQLite of statements it has no direct form for.
#include "tsql/ast.h"

namespace md::sql {

// UPDATE/DELETE whose target is a source of their FROM clause are rewritten to
// address rows by rowid; union branches with TOP become derived tables.
void rewriteForSqlite(ast::Stmt& statement);

// The UPDATE and DELETE rewrites on their own, with the name of the engine's row
// address ("rowid" on SQLite, "ctid" on PostgreSQL).
void rewriteUpdateByRowAddress(ast::UpdateStmt& statement, const QString& rowid);
void rewriteDeleteByRowAddress(ast::DeleteStmt& statement, const QString& rowid);

}  // namespace md::sql
