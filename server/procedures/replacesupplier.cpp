// exec P_replaceSupplier '<old code>','<new code>': a supplier's code changed
// in the supplier file (dt_supplier); every other row that names the supplier
// by its old code gets the new one, in one unit of work: documents, quotes and
// whatever table is added later with a column named fsuppliercode or
// suppliercode (found in the schema catalog). The supplier file itself is the
// caller's: its row was saved under the new code before the call.
//
// A table keyed by the supplier code that already holds a row of the new code
// for the same key refuses the rename (the unit is undone): the new code's
// rows are not somebody else's to overwrite.
#include "codecolumns.h"
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

const QStringList kSupplierCodeColumns = {QStringLiteral("fsuppliercode"),
                                          QStringLiteral("suppliercode")};

void replaceSupplier(ProcedureCall& call) {
    const QString oldCode = call.text(0).trimmed();
    const QString newCode = call.text(1).trimmed();
    if (oldCode.isEmpty() || newCode.isEmpty())
        throw EDatabaseError(QStringLiteral("P_replaceSupplier: 供应商编号不能为空"));
    // Written exactly: a change of case alone is a change the documents follow.
    if (oldCode == newCode) return;

    TRemoteUdpConnection& db = call.connection();
    const ParamMap params{{QStringLiteral("old"), oldCode}, {QStringLiteral("new"), newCode}};
    TRemoteUdpConnection::Unit unit(db);
    for (const CodeColumn& found :
         CodeColumns(db.catalog(), kSupplierCodeColumns,
                     [](const md::sql::TableInfo&table, const md::sql::ColumnInfo&) {
                         return SameName(table.name, "dt_supplier");
                     }))
        db.ExecSQL(QStringLiteral("update %1 set %2=:new where %2=:old")
                       .arg(found.table->name, found.column),
                   &params);
    unit.commit();
}

const RegisterProcedure registerReplaceSupplier("P_replaceSupplier", &replaceSupplier);

}  // namespace

}  // namespace md::server
