#pragma once
// Where a kind of code lives in the schema. The code merges and renames
// (P_replaceGoods, P_replaceSupplier) find the columns that hold their code
// from the schema catalog by column name, so tables added later are covered
// without touching the procedures.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "tsql/catalog.h"

namespace md::server {

struct CodeColumn {
    const md::sql::TableInfo* table;
    QString column;  // as the schema writes it
};

// Whether a schema name is this one, in any case.
bool SameName(QStringView name, const char* other);

// The text columns named one of `names` (any case) of every table, not view,
// in catalog order, except those `skip` answers true for.
QList<CodeColumn> CodeColumns(
    const md::sql::Catalog& catalog, const QStringList& names,
    const std::function<bool(const md::sql::TableInfo&, const md::sql::ColumnInfo&)>& skip = {});

}  // namespace md::server
