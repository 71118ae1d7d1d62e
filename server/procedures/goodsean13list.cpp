// P_UpdateGoodsEan13List: after the company's national-code prefix changed,
// the stored national codes (barcode.fbarcode2) move under the new prefix.
// A code keeps its serial part: of its first twelve digits, the last
// 12 - len(prefix); the check digit is computed afresh.
#include "goodsbarcodes.h"
#include "procedures.h"
#include "remoteudpconnection.h"
#include "routines.h"

namespace md::server {

namespace {

void updateGoodsEan13List(ProcedureCall& call) {
    TRemoteUdpConnection& db = call.connection();
    ResultTable company;
    db.OpenSQL(QStringLiteral("select top 1 fcode from dt_ltd"), company);
    const QString prefix = company.rowCount > 0 ? company.at(0, 0).toString().trimmed() : QString();
    if (prefix.isEmpty()) return;
    if (prefix.size() > 12 || !allDigits(prefix))
        throw EDatabaseError(QStringLiteral("国标码“%1”应为不超过12位的数字。").arg(prefix));
    const int serialLength = 12 - prefix.size();

    ResultTable codes;
    db.OpenSQL(
        QStringLiteral(
            "select fgoodsid,fcolorid,fsize,fbarcode2 from barcode where fbarcode2 is not null"),
        codes);
    TRemoteUdpConnection::Unit unit(db);
    const QString update = QStringLiteral(
        "update barcode set fbarcode2=:fbarcode2 where fgoodsid=:fgoodsid and fcolorid=:fcolorid "
        "and fsize=:fsize");
    for (int row = 0; row < codes.rowCount; ++row) {
        const QString old = codes.at(row, 3).toString();
        // Codes that are not EAN-13 are someone else's numbering: left alone.
        if (old.size() != 13 || !allDigits(old)) continue;
        const QString fresh = md::CompleteEan13(prefix + old.left(12).right(serialLength));
        if (fresh == old) continue;
        const ParamMap params{{QStringLiteral("fbarcode2"), fresh},
                              {QStringLiteral("fgoodsid"), codes.at(row, 0)},
                              {QStringLiteral("fcolorid"), codes.at(row, 1)},
                              {QStringLiteral("fsize"), codes.at(row, 2)}};
        db.ExecSQL(update, &params);
    }
    unit.commit();
}

const RegisterProcedure registerUpdateGoodsEan13List("P_UpdateGoodsEan13List",
                                                     &updateGoodsEan13List);

}  // namespace

}  // namespace md::server
