// exec get_barcodetemp: the print quantity list (barcodedetail) becomes one
// barcode_temp row per piece, fsize being the size name of the slot (slot k =
// the k-th size of the goods item's size group in displayindex order). The
// pieces are also returned when the call is opened as a query.
//
// The expansion is one insert ... select: the slots are turned into rows by
// joining the sizes of the item's group, and each slot row is joined with the
// numbers 1..quantity of barcode_pieceno, so 100,000 pieces cost one
// statement, not 100,000. The slot numbers come from a grouped join rather
// than a correlated count, which PostgreSQL would run again for every piece.
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

// The slot quantity of size k: case k when 1 then d.s1 ... end.
QString slotQuantity() {
    QString cases = QStringLiteral("case z.k");
    for (int slot = 1; slot <= 30; ++slot) cases += QStringLiteral(" when %1 then d.s%1").arg(slot);
    return cases + QStringLiteral(" else 0 end");
}

// barcode_pieceno holds at least 1..largest, doubling what it has.
void provideNumbers(TRemoteUdpConnection& db, int largest) {
    ResultTable held;
    db.OpenSQL(QStringLiteral("select max(n) from barcode_pieceno"), held);
    int count = held.rowCount > 0 ? held.at(0, 0).toInt() : 0;
    if (count >= largest) return;
    if (count == 0) {
        db.ExecSQL(QStringLiteral("insert into barcode_pieceno(n) values(1)"));
        count = 1;
    }
    while (count < largest) {
        const ParamMap params{{QStringLiteral("count"), count},
                              {QStringLiteral("largest"), largest}};
        db.ExecSQL(QStringLiteral("insert into barcode_pieceno(n) select n+:count from "
                                  "barcode_pieceno where n<=:count and n+:count<=:largest"),
                   &params);
        count = qMin(count * 2, largest);
    }
}

void getBarcodeTemp(ProcedureCall& call) {
    TRemoteUdpConnection& db = call.connection();
    TRemoteUdpConnection::Unit unit(db);
    db.ExecSQL(QStringLiteral("delete from barcode_temp"));

    QStringList largestOf;
    for (int slot = 1; slot <= 30; ++slot)
        largestOf << QStringLiteral("select max(s%1) as q from barcodedetail").arg(slot);
    ResultTable largest;
    db.OpenSQL(QStringLiteral("select max(q) from (") +
                   largestOf.join(QStringLiteral(" union all ")) + QStringLiteral(") a"),
               largest);
    const int pieces = largest.rowCount > 0 ? largest.at(0, 0).toInt() : 0;
    if (pieces > 0) {
        provideNumbers(db, pieces);
        db.ExecSQL(
            QStringLiteral("insert into barcode_temp(fgoodsid,fcolorid,fsize)\n"
                           "select u.fgoodsid,u.fcolorid,u.fsize from (\n"
                           "select d.fautoid,d.fgoodsid,d.fcolorid,z.k,z.size_name as fsize,") +
            slotQuantity() +
            QStringLiteral(" as q\n"
                           "from barcodedetail d join goods g on g.goodsid=d.fgoodsid\n"
                           "join (select s.fautoid,s.size_class,s.size_name,count(*) as k\n"
                           "from ba_size s join ba_size c on c.size_class=s.size_class and "
                           "c.displayindex<=s.displayindex\n"
                           "group by s.fautoid,s.size_class,s.size_name) z on "
                           "z.size_class=g.size_class) u\n"
                           "join barcode_pieceno n on n.n<=u.q\n"
                           "where u.q>0"));
    }
    unit.commit();
    if (!call.sink()) return;  // executed, not opened: nobody reads the pieces
    db.OpenSQL(QStringLiteral("select a.fgoodsid,a.fcolorid,a.fsize,b.fbarcode1,b.fbarcode2,"
                              "g.goodsname,g.unitprice\n"
                              "from barcode_temp a\n"
                              "left join barcode b on a.fgoodsid=b.fgoodsid and "
                              "a.fcolorid=b.fcolorid and a.fsize=b.fsize\n"
                              "left join goods g on a.fgoodsid=g.goodsid"),
               *call.sink());
}

const RegisterProcedure registerGetBarcodeTemp("get_barcodetemp", &getBarcodeTemp);

}  // namespace

}  // namespace md::server
