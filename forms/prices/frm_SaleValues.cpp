#include "frm_SaleValues.h"

#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "remoteupdatesql.h"
#include "routines.h"

using md::ui::Refuse;

namespace {

const TCodeTable kCommissions{
    "销售提成方案",
    "select * from Ba_SaleValues",
    {{"ftypename", "业务类别", 110, TEditorKind::ValueList, TSummaryKind::Count, "记录数：0"},
     {"fbeginqty", "起始销量(件)", 96, TEditorKind::Currency},
     {"fendqty", "截止销量(件)", 96, TEditorKind::Currency},
     {"fsalevalues", "销售提成(元/件)", 116, TEditorKind::Currency},
     {"fmadivalues", "设计提成(元/件)", 116, TEditorKind::Currency},
     {"fsumtotal", "合计(元/件)", 100, TEditorKind::Currency}},
    {{"ftypename", "请输入业务类别!"}},
    {720, 480}};

const char* const kQuantities[] = {"fbeginqty", "fendqty"};
const char* const kAmounts[] = {"fsalevalues", "fmadivalues"};

}  // namespace

Tfrm_SaleValues::Tfrm_SaleValues(QWidget* owner) : Tbase_frmDictMdi(owner) {
    DBmaster_table->AddCalcField(QStringLiteral("fsumtotal"), ftCurrency);
    DBmaster_table->OnCalcFields = [](TRemoteUdpDataSet& row) {
        row.FieldByName(QStringLiteral("fsumtotal"))
            .SetAsFloat(row.FieldByName(QStringLiteral("fsalevalues")).AsFloat() +
                        row.FieldByName(QStringLiteral("fmadivalues")).AsFloat());
    };
    Describe(kCommissions);
    SaleUpdateSql = new TRemoteUpdateSql(this);
    SaleUpdateSql->setObjectName(QStringLiteral("SaleUpdateSql"));
    SaleUpdateSql->InsertSQL = QStringLiteral(
        "insert into "
        "ba_salevalues(ftypename,fbeginqty,fendqty,fsalevalues,fmadivalues)values(:ftypename,:"
        "fbeginqty,:fendqty,:fsalevalues,:fmadivalues)");
    SaleUpdateSql->ModifySQL = QStringLiteral(
        "update ba_salevalues set "
        "ftypename=:ftypename,fbeginqty=:fbeginqty,fendqty=:fendqty,fsalevalues=:fsalevalues,"
        "fmadivalues=:fmadivalues where fautoid=:fautoid");
    SaleUpdateSql->DeleteSQL = QStringLiteral("delete from ba_salevalues where fautoid=:fautoid");
    DBmaster_table->SetupDataObject(SaleUpdateSql);

    TDBTableView* v = cxGrid1DBTableView1;
    v->Column(QStringLiteral("ftypename"))->valueList({}, true).upperCase();
    for (const char* field : kQuantities)
        md::ui::AcceptNumbers(
            v->Column(QString::fromLatin1(field))->displayFormat(QStringLiteral("0")),
            md::ui::TNumberKind::Whole);
    for (const char* field : kAmounts)
        md::ui::AcceptNumbers(*v->Column(QString::fromLatin1(field)));
    v->Column(QStringLiteral("fsumtotal"))->readOnly();
}

void Tfrm_SaleValues::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    TRemoteUdpDataSet types;
    md::OpenQuery(types, QStringLiteral("select distinct(ftypename) from ba_salevalues"));
    TGridColumn* type = cxGrid1DBTableView1->Column(QStringLiteral("ftypename"));
    for (types.First(); !types.Eof(); types.Next())
        if (!types.Fields(0).AsString().isEmpty()) type->AddItem(types.Fields(0).AsString());
}

void Tfrm_SaleValues::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TDBTableView* v = cxGrid1DBTableView1;
    for (const char* fields : {"fbeginqty", "fendqty", "fsalevalues", "fmadivalues"})
        md::ui::GuardNumberField(DBmaster_table->FieldByName(QString::fromLatin1(fields)),
                                 *v->Column(QString::fromLatin1(fields)));
}

void Tfrm_SaleValues::DBmaster_tableNewRecord() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    for (const char* field : kQuantities)
        ds.FieldByName(QString::fromLatin1(field)).SetAsInteger(0);
    for (const char* field : kAmounts) ds.FieldByName(QString::fromLatin1(field)).SetAsFloat(0);
}

QString Tfrm_SaleValues::overlappedRange() const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString type = ds.FieldByName(QStringLiteral("ftypename")).AsString().trimmed();
    const qint64 from = ds.FieldByName(QStringLiteral("fbeginqty")).AsLargeInt();
    const qint64 to = ds.FieldByName(QStringLiteral("fendqty")).AsLargeInt();
    const int typeAt = ds.FieldByName(QStringLiteral("ftypename")).Index();
    const int fromAt = ds.FieldByName(QStringLiteral("fbeginqty")).Index();
    const int toAt = ds.FieldByName(QStringLiteral("fendqty")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row) {
        if (row == current) continue;
        const QString otherType = ds.valueAt(row, typeAt).toString().trimmed();
        if (otherType.compare(type, Qt::CaseInsensitive) != 0) continue;
        const qint64 otherFrom = ds.valueAt(row, fromAt).toLongLong();
        const qint64 otherTo = ds.valueAt(row, toAt).toLongLong();
        // Ranges that only share an end meet; they do not overlap.
        if (from < otherTo && otherFrom < to)
            return QStringLiteral("“%1”的%2-%3件").arg(otherType).arg(otherFrom).arg(otherTo);
    }
    return QString();
}

void Tfrm_SaleValues::DBmaster_tableBeforePost() {
    Tbase_frmDictMdi::DBmaster_tableBeforePost();  // the type
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fendqty")).AsLargeInt() <
        ds.FieldByName(QStringLiteral("fbeginqty")).AsLargeInt())
        Refuse(QStringLiteral("截止销量不能小于起始销量!"));
    const QString overlapped = overlappedRange();
    if (!overlapped.isEmpty())
        Refuse(QStringLiteral("销量范围与") + overlapped + QStringLiteral("重叠!"));
}

void Tfrm_SaleValues::DBmaster_tableAfterPost() {
    // A type typed that the list does not offer yet joins it.
    const QString type = DBmaster_table->FieldByName(QStringLiteral("ftypename")).AsString();
    if (!type.isEmpty()) cxGrid1DBTableView1->Column(QStringLiteral("ftypename"))->AddItem(type);
}

MD_REGISTER_FORM(Tfrm_SaleValues);
