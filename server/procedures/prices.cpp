// The shop retail price window's procedures. A shop's list joins its retail
// prices (one row per goods colour) with its cost prices (one row per goods
// item), so a goods colour is listed only once its goods item has a shop cost.
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

// exec P_UpdateShopPlanprice '<shop>': every goods item of the shop's retail
// prices that has no shop cost yet gets one, at the goods item's reference
// cost (planprice), or 0 without one. Costs already there stay as they are.
void updateShopPlanprice(ProcedureCall& call) {
    const ParamMap params{{QStringLiteral("shop"), call.text(0)}};
    TRemoteUdpConnection& db = call.connection();
    TRemoteUdpConnection::Unit unit(db);
    db.ExecSQL(QStringLiteral("insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice)\n"
                              "select a.fclientcode,a.fgoodsid,round(isnull(b.planprice,0),2)\n"
                              "from (select distinct fclientcode,fgoodsid from retailprice"
                              " where fclientcode=:shop) a\n"
                              "left join planprice b on a.fgoodsid=b.fgoodsid\n"
                              "where not exists(select 1 from dt_clientplanprice c"
                              " where c.fclientcode=a.fclientcode and c.fgoodsid=a.fgoodsid)"),
               &params);
    unit.commit();
}

// exec P_UpdateOneShopPlanprice <shop>,<goods>,<colour>,<retail price>,<cost>:
// one row of the list saved: the goods colour's retail price and the goods
// item's shop cost (shared by all its colours), each made when missing.
void updateOneShopPlanprice(ProcedureCall& call) {
    const QVariantList& args = call.args();
    const ParamMap params{{QStringLiteral("shop"), call.text(0)},
                          {QStringLiteral("goods"), call.text(1)},
                          {QStringLiteral("colour"), call.text(2)},
                          {QStringLiteral("retail"), args.value(3)},
                          {QStringLiteral("cost"), args.value(4)}};
    TRemoteUdpConnection& db = call.connection();
    TRemoteUdpConnection::Unit unit(db);
    if (db.ExecSQL(
            QStringLiteral("update retailprice set fretailprice=:retail"
                           " where fclientcode=:shop and fgoodsid=:goods and fcolorid=:colour"),
            &params) == 0)
        db.ExecSQL(
            QStringLiteral("insert into retailprice(fclientcode,fgoodsid,fcolorid,fretailprice)"
                           "values(:shop,:goods,:colour,:retail)"),
            &params);
    if (db.ExecSQL(QStringLiteral("update dt_clientplanprice set fplanprice=:cost"
                                  " where fclientcode=:shop and fgoodsid=:goods"),
                   &params) == 0)
        db.ExecSQL(QStringLiteral("insert into dt_clientplanprice(fclientcode,fgoodsid,fplanprice)"
                                  "values(:shop,:goods,:cost)"),
                   &params);
    unit.commit();
}

const RegisterProcedure registerUpdateShopPlanprice("P_UpdateShopPlanprice", &updateShopPlanprice);
const RegisterProcedure registerUpdateOneShopPlanprice("P_UpdateOneShopPlanprice",
                                                       &updateOneShopPlanprice);

}  // namespace

}  // namespace md::server
