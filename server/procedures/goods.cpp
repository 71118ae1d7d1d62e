// The goods form's server procedures: the sizes of a goods item, the check
// before a goods item is deleted, and the growth of the description values.
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

// exec P_UpdateGoodsSize '<code>': goodssize holds the sizes of the item's size
// group, slot by slot (slot k = the k-th size in displayindex order, as in
// v_size), so it follows every change of the group or of the group's sizes.
void updateGoodsSize(ProcedureCall& call) {
    const ParamMap params{{QStringLiteral("goodsid"), call.text(0)}};
    TRemoteUdpConnection& db = call.connection();
    TRemoteUdpConnection::Unit unit(db);
    db.ExecSQL(QStringLiteral("delete from goodssize where goodsid=:goodsid"), &params);
    db.ExecSQL(QStringLiteral("insert into goodssize(goodsid,size_name,fieldname,displayindex)\n"
                              "select a.goodsid,b.size_name,'S'+convert(varchar(10),b.k),b.k\n"
                              "from goods a join (select s.size_class,s.size_name,\n"
                              "(select count(*) from ba_size c where c.size_class=s.size_class and "
                              "c.displayindex<s.displayindex)+1 as k\n"
                              "from ba_size s) b on a.size_class=b.size_class\n"
                              "where a.goodsid=:goodsid"),
               &params);
    unit.commit();
}

// A table of the business system whose rows keep a goods item alive, and the
// condition under which a row counts.
struct BusinessSource {
    const char* table;
    const char* condition;
};

// Pieces with serial numbers, stock that is not zero, and document lines.
// Tables the schema does not have (yet) are left out of the check.
const BusinessSource kBusinessSources[] = {
    {"barcodeguid", ""},
    {"stock", " and isnull(qty,0)<>0"},
    {"s_stock", " and isnull(qty,0)<>0"},
    {"d_sale", ""},
    {"d_order", ""},
    {"d_receving", ""},
    {"d_purchase", ""},
    {"d_s_saledetail", ""},
};

// exec P_CheckDelGoods '<code>': one row (column fgoodsid) for each kind of
// business the goods code has; no rows when it may be deleted.
void checkDelGoods(ProcedureCall& call) {
    if (!call.sink()) return;  // executed, not opened: nobody reads the answer
    TRemoteUdpConnection& db = call.connection();
    QStringList branches;
    for (const BusinessSource& source : kBusinessSources) {
        const QString table = QString::fromLatin1(source.table);
        if (!db.catalog().table(table)) continue;
        branches << QStringLiteral("select top 1 fgoodsid from ") + table +
                        QStringLiteral(" where fgoodsid=:fgoodsid") +
                        QString::fromLatin1(source.condition);
    }
    const ParamMap params{{QStringLiteral("fgoodsid"), call.text(0)}};
    db.OpenSQL(branches.join(QStringLiteral("\nunion all\n")), *call.sink(), &params);
}

// exec updategoodsfield: the value lists grow with the data. For every goods
// column described in ba_fieldremark (except the code and the tag price), the
// distinct trimmed non-empty values the goods carry that ba_fieldvalues does
// not know yet are added to it. One insert ... select per column.
void updateGoodsField(ProcedureCall& call) {
    TRemoteUdpConnection& db = call.connection();
    const md::sql::TableInfo* goods = db.catalog().table(QStringLiteral("goods"));
    if (!goods) return;
    ResultTable fields;
    db.OpenSQL(
        QStringLiteral(
            "select distinct ltrim(rtrim(fname)) from ba_fieldremark where ftablename='goods'"
            " and fname is not null"),
        fields);
    TRemoteUdpConnection::Unit unit(db);
    for (int row = 0; row < fields.rowCount; ++row) {
        const QString name = fields.at(row, 0).toString();
        if (name.compare(QStringLiteral("goodsid"), Qt::CaseInsensitive) == 0 ||
            name.compare(QStringLiteral("unitprice"), Qt::CaseInsensitive) == 0)
            continue;
        // Only text columns of goods: the name goes into the statement itself.
        const md::sql::ColumnInfo* column = goods->column(name);
        if (!column || column->type != md::sql::SqlType::Text) continue;
        const ParamMap params{{QStringLiteral("ffieldname"), column->name}};
        const QString value = QStringLiteral("ltrim(rtrim(") + column->name + QStringLiteral("))");
        db.ExecSQL(
            QStringLiteral("insert into ba_fieldvalues(ftablename,ffieldname,fFieldValues)\n"
                           "select 'goods',:ffieldname,a.fvalue from (select distinct ") +
                value + QStringLiteral(" as fvalue from goods where isnull(") + value +
                QStringLiteral(
                    ",'')<>'') a\n"
                    "where not exists(select 1 from ba_fieldvalues v where v.ftablename='goods'"
                    " and v.ffieldname=:ffieldname and v.fFieldValues=a.fvalue)"),
            &params);
    }
    unit.commit();
}

const RegisterProcedure registerUpdateGoodsSize("P_UpdateGoodsSize", &updateGoodsSize);
const RegisterProcedure registerCheckDelGoods("P_CheckDelGoods", &checkDelGoods);
const RegisterProcedure registerUpdateGoodsField("updategoodsfield", &updateGoodsField);

}  // namespace

}  // namespace md::server
