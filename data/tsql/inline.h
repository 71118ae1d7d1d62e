#pragma once
// Functions of the catalog are inlined where they are called: a table function
// in FROM becomes a derived table of its body, a scalar function its expression,
// each with the @parameters replaced by the arguments.
#include "tsql/ast.h"
#include "tsql/catalog.h"

namespace md::sql {

void inlineFunctions(ast::Stmt& statement, const Catalog& catalog);
void inlineFunctions(ast::Select& select, const Catalog& catalog);

}  // namespace md::sql
