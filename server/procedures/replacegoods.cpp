// exec P_replaceGoods '<old code>','<new code>': the goods code merge. Every
// use of the old goods code becomes the new one, in one unit of work, so the
// goods record of the old code can then be deleted.
//
// Which columns hold a goods code is read from the schema catalog, so tables
// added later are covered without touching this file. The rule:
//  - a column named goodsid, fgoodsid or fnewgoodsid (any case) of a table
//    (not a view) holds a goods code;
//  - except the goods table itself (its row is the caller's to delete) and the
//    columns that hold sample style codes: mr_goods.goodsid and
//    mr_goodscolor.fgoodsid (mr_smp.foldgoodsid does not match the names);
//  - GoodsImage keeps pictures of goods and of samples under one column: a
//    row is a goods picture when it carries a GoodsNo, or when no sample style
//    has that code.
// A table with a column named goodsno gets the surviving item's GoodsNo on the
// rows it renames.
//
// Tables that hold at most one row per goods variant would end up with two
// rows of one variant: there the old code's rows that the new code already
// has are deleted before the rest is renamed. A table is such a table when its
// primary key includes the goods-code column (the variant is the rest of the
// key: barcode, Ba_housestockLimit), or when it is one of those listed below
// that key their rows by a row number. Documents and stock are renamed only:
// their lines add up under the surviving code.
#include "codecolumns.h"
#include "procedures.h"
#include "remoteudpconnection.h"

namespace md::server {

namespace {

const QStringList kGoodsCodeColumns = {QStringLiteral("goodsid"), QStringLiteral("fgoodsid"),
                                       QStringLiteral("fnewgoodsid")};

struct SampleCodeColumn {
    const char* table;
    const char* column;
};
const SampleCodeColumn kSampleCodeColumns[] = {{"mr_goods", "goodsid"},
                                               {"mr_goodscolor", "fgoodsid"}};

// Tables with one row per goods code and variant whose key is a row number.
struct VariantTable {
    const char* table;
    const char* variant;  // comma-separated columns; empty: one row per goods code
};
const VariantTable kVariantTables[] = {{"goodscolor", "fcolorid"},
                                       {"ba_goodscolor", "fcolorid"},
                                       {"goodssize", "size_name"},
                                       {"goodsimage", ""}};

bool sameName(QStringView a, const char* b) {
    return SameName(a, b);
}

bool isSampleCodeColumn(const md::sql::TableInfo& table, const md::sql::ColumnInfo& column) {
    for (const SampleCodeColumn& sample : kSampleCodeColumns)
        if (sameName(table.name, sample.table) && sameName(column.name, sample.column)) return true;
    return false;
}

// The columns that, with the goods code, name one row; empty when the table
// may hold any number of rows per goods code. `oneRowPerCode` tells a table
// with at most one row per code apart from one without a variant key.
QStringList variantColumns(const md::sql::TableInfo& table, const QString& codeColumn,
                           bool* oneRowPerCode) {
    *oneRowPerCode = false;
    for (const VariantTable& listed : kVariantTables) {
        if (!sameName(table.name, listed.table)) continue;
        const QStringList columns =
            QString::fromLatin1(listed.variant).split(QLatin1Char(','), Qt::SkipEmptyParts);
        *oneRowPerCode = columns.isEmpty();
        return columns;
    }
    bool keyed = false;
    QStringList rest;
    for (const QString& key : table.key) {
        if (key.compare(codeColumn, Qt::CaseInsensitive) == 0)
            keyed = true;
        else
            rest << key;
    }
    if (!keyed) return {};
    *oneRowPerCode = rest.isEmpty();
    return rest;
}

QList<CodeColumn> goodsCodeColumns(const md::sql::Catalog& catalog) {
    return CodeColumns(catalog, kGoodsCodeColumns,
                       [](const md::sql::TableInfo& table, const md::sql::ColumnInfo& column) {
                           return sameName(table.name, "goods") ||
                                  isSampleCodeColumn(table, column);
                       });
}

void replaceGoods(ProcedureCall& call) {
    const QString oldCode = call.text(0).trimmed();
    const QString newCode = call.text(1).trimmed();
    if (oldCode.isEmpty() || newCode.isEmpty())
        throw EDatabaseError(QStringLiteral("P_replaceGoods: 货号不能为空"));
    // Codes compare without regard to case: renaming a code onto itself would
    // leave the caller deleting the one goods record that stays.
    if (oldCode.compare(newCode, Qt::CaseInsensitive) == 0)
        throw EDatabaseError(QStringLiteral("被替换的货号与替换后的货号不能相同!"));

    TRemoteUdpConnection& db = call.connection();
    const md::sql::Catalog& catalog = db.catalog();
    ResultTable survivor;
    const ParamMap byNew{{QStringLiteral("new"), newCode}};
    db.OpenSQL(QStringLiteral("select top 1 goodsno from goods where goodsid=:new"), survivor,
               &byNew);
    const QString goodsNo = survivor.rowCount > 0 ? survivor.at(0, 0).toString() : QString();

    ParamMap params{{QStringLiteral("old"), oldCode}, {QStringLiteral("new"), newCode}};
    if (!goodsNo.isEmpty()) params.set(QStringLiteral("goodsno"), goodsNo);

    TRemoteUdpConnection::Unit unit(db);
    for (const CodeColumn& found : goodsCodeColumns(catalog)) {
        const md::sql::TableInfo* table = found.table;
        const QString& name = table->name;
        const QString& code = found.column;
        // Sample pictures stay under their sample code.
        QString rows;
        if (sameName(name, "goodsimage") && table->column(u"GoodsNo"))
            rows = QStringLiteral(
                       " and (isnull(%1.GoodsNo,'')<>'' or not exists(select 1 from "
                       "mr_goods m where m.goodsid=:old))")
                       .arg(name);
        const QString ours = QStringLiteral("%1.%2=:old").arg(name, code) + rows;

        bool oneRowPerCode = false;
        const QStringList variant = variantColumns(*table, code, &oneRowPerCode);
        if (oneRowPerCode || !variant.isEmpty()) {
            QString same = QStringLiteral("b.%1=:new").arg(code);
            for (const QString& column : variant)
                same += QStringLiteral(" and b.%1=%2.%1").arg(column, name);
            if (sameName(name, "goodsimage"))
                same += QStringLiteral(
                    " and (isnull(b.GoodsNo,'')<>'' or not exists(select 1 from "
                    "mr_goods m where m.goodsid=:new))");
            db.ExecSQL(QStringLiteral("delete from %1 where %2 and exists(select 1 from %1 b where "
                                      "%3)")
                           .arg(name, ours, same),
                       &params);
        }
        QString set = QStringLiteral("%1=:new").arg(code);
        if (!goodsNo.isEmpty())
            for (const md::sql::ColumnInfo& column : table->columns)
                if (sameName(column.name, "goodsno"))
                    set += QStringLiteral(",%1=:goodsno").arg(column.name);
        db.ExecSQL(QStringLiteral("update %1 set %2 where %3").arg(name, set, ours), &params);
    }
    // A colour description follows the colour row of its goods item by ColorNo:
    // descriptions that came over from the old code take the surviving row's.
    if (catalog.table(u"ba_goodscolor") && catalog.table(u"goodscolor"))
        db.ExecSQL(QStringLiteral(
                       "update ba_goodscolor set ColorNo=(select top 1 c.ColorNo from "
                       "goodscolor c where c.fgoodsid=ba_goodscolor.fgoodsid and "
                       "c.fcolorid=ba_goodscolor.fcolorid)\n"
                       "where fgoodsid=:new and exists(select 1 from goodscolor c where "
                       "c.fgoodsid=ba_goodscolor.fgoodsid and c.fcolorid=ba_goodscolor.fcolorid "
                       "and isnull(c.ColorNo,'')<>'')"),
                   &byNew);
    unit.commit();
}

const RegisterProcedure registerReplaceGoods("P_replaceGoods", &replaceGoods);

}  // namespace

}  // namespace md::server
