#include "dbchecks.h"

#include "remoteudpdataset.h"
#include "routines.h"

namespace md::ui {

bool QueryReturnsRow(const QString& sql) {
    return QueryReturnsRow(sql, {});
}

bool QueryReturnsRow(const QString& sql, const QVariantHash& params) {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, sql, params);
    const bool found = !query.IsEmpty();
    query.Close();
    return found;
}

}  // namespace md::ui
