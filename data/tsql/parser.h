#pragma once
// T-SQL text to syntax trees: a batch of statements separated by line breaks or
// semicolons; a statement ends where the next one's keyword starts.
#include <QString>
#include <vector>

#include "tsql/ast.h"

namespace md::sql {

// Parses the whole batch before returning; throws ETranslateError naming the
// offending token, its line and column.
std::vector<ast::StmtPtr> parseBatch(const QString& source);

// SQL Server's reserved words (any case): never a bare name, so a statement we
// generate brackets a column named like one.
bool isReservedWord(QStringView word);

}  // namespace md::sql
