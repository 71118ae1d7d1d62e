#pragma once
// Rewrites for PostgreSQL of statements it has no direct form for.
#include "tsql/ast.h"

namespace md::sql {

// UPDATE ... FROM whose target is a source of the FROM clause: with inner joins
// only, "update t as a set ... from <the other sources> where <join conditions
// and where>"; with outer joins, rows are matched through their ctid as on
// SQLite. DELETE ... FROM likewise through ctid.
void rewriteForPostgres(ast::Stmt& statement);

// The PostgreSQL type of a T-SQL type ("varchar(30)", "md_bit", "timestamp(0)").
QString pgTypeName(const ast::TypeRef& type);

}  // namespace md::sql
