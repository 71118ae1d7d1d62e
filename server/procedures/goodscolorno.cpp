// exec UpdateColorNo: rows that imports and the sample conversion write
// without row keys get them. Goods items without GoodsNo get a fresh one; goods
// colours take their item's GoodsNo and a fresh ColorNo; colour descriptions
// take the GoodsNo and ColorNo of the goods colour they describe, so the goods
// form finds them by ColorNo. Rows that have keys keep them.
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

// A fresh key per row, made as the key view V_GetPassWord12 makes its own.
const char* const kFreshKey = "left(replace(convert(varchar(36),newid()),'-',''),12)";

void updateColorNo(ProcedureCall& call) {
    TRemoteUdpConnection& db = call.connection();
    const QString fresh = QString::fromLatin1(kFreshKey);
    TRemoteUdpConnection::Unit unit(db);
    db.ExecSQL(QStringLiteral("update goods set goodsno=") + fresh +
               QStringLiteral(" where isnull(goodsno,'')=''"));
    db.ExecSQL(
        QStringLiteral("update goodscolor set GoodsNo=(select top 1 b.goodsno from goods b where "
                       "b.goodsid=goodscolor.fgoodsid)\n"
                       "where isnull(GoodsNo,'')='' and exists(select 1 from goods b where "
                       "b.goodsid=goodscolor.fgoodsid)"));
    db.ExecSQL(QStringLiteral("update goodscolor set ColorNo=") + fresh +
               QStringLiteral(" where isnull(ColorNo,'')=''"));
    db.ExecSQL(QStringLiteral(
        "update ba_goodscolor set GoodsNo=(select top 1 b.goodsno from goods b where "
        "b.goodsid=ba_goodscolor.fgoodsid)\n"
        "where isnull(GoodsNo,'')='' and exists(select 1 from goods b where "
        "b.goodsid=ba_goodscolor.fgoodsid)"));
    db.ExecSQL(QStringLiteral(
        "update ba_goodscolor set ColorNo=(select top 1 c.ColorNo from goodscolor c where "
        "c.fgoodsid=ba_goodscolor.fgoodsid and c.fcolorid=ba_goodscolor.fcolorid)\n"
        "where isnull(ColorNo,'')='' and exists(select 1 from goodscolor c where "
        "c.fgoodsid=ba_goodscolor.fgoodsid and c.fcolorid=ba_goodscolor.fcolorid)"));
    unit.commit();
}

const RegisterProcedure registerUpdateColorNo("UpdateColorNo", &updateColorNo);

}  // namespace

}  // namespace md::server
