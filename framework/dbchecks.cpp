#include "dbchecks.h"

#include "remoteudpdataset.h"
#include "routines.h"

namespace md::ui {

bool QueryReturnsRow(const QString& sql) {
    TRemoteUdpDataSet query;
    md::OpenQuery(query, sql);
    const bool found = !query.IsEmpty();
    query.Close();
    return found;
}

}  // namespace md::ui
