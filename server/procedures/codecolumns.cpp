#include "codecolumns.h"

namespace md::server {

bool SameName(QStringView name, const char* other) {
    return name.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

QList<CodeColumn> CodeColumns(
    const md::sql::Catalog& catalog, const QStringList& names,
    const std::function<bool(const md::sql::TableInfo&, const md::sql::ColumnInfo&)>& skip) {
    QList<CodeColumn> found;
    for (const md::sql::TableInfo* table : catalog.tables()) {
        if (table->isView) continue;
        for (const md::sql::ColumnInfo& column : table->columns) {
            if (column.type != md::sql::SqlType::Text ||
                !names.contains(column.name, Qt::CaseInsensitive))
                continue;
            if (skip && skip(*table, column)) continue;
            found << CodeColumn{table, column.name};
        }
    }
    return found;
}

}  // namespace md::server
