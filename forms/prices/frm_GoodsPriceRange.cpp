#include "frm_GoodsPriceRange.h"

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "ratecheck.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const TCodeTable kPriceBands{
    "价位段设置",
    "select * from Ba_GoodsPriceRange",
    {{"fname", "名称", 150, TEditorKind::Text, TSummaryKind::Count, "记录数：0"},
     {"fbeginvalues", "开始价位", 110, TEditorKind::Currency},
     {"fendvalues", "截止价位", 110, TEditorKind::Currency}},
    {{"fname", "价位名称不能为空!"}},
    {}};

}  // namespace

Tfrm_GoodsPriceRange::Tfrm_GoodsPriceRange(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kPriceBands);
    TDBTableView* v = cxGrid1DBTableView1;
    for (const char* field : {"fbeginvalues", "fendvalues"})
        md::ui::AcceptNumbers(*v->Column(QString::fromLatin1(field)));
    // A dialog of fixed size.
    setFixedSize(460, 400);
}

void Tfrm_GoodsPriceRange::DBmaster_tableAfterOpen() {
    Tbase_frmDictMdi::DBmaster_tableAfterOpen();
    TDBTableView* v = cxGrid1DBTableView1;
    for (const char* field : {"fbeginvalues", "fendvalues"})
        md::ui::GuardNumberField(DBmaster_table->FieldByName(QString::fromLatin1(field)),
                                 *v->Column(QString::fromLatin1(field)));
}

void Tfrm_GoodsPriceRange::DBmaster_tableNewRecord() {
    DBmaster_table->FieldByName(QStringLiteral("fbeginvalues")).SetAsFloat(0);
    DBmaster_table->FieldByName(QStringLiteral("fendvalues")).SetAsFloat(0);
}

bool Tfrm_GoodsPriceRange::isNewRow() const {
    return DBmaster_table->State() == dsInsert || DBmaster_table->UpdateStatus() == usInserted;
}

bool Tfrm_GoodsPriceRange::listedElsewhere(const QString& name) const {
    const TRemoteUdpDataSet& ds = *DBmaster_table;
    const int at = ds.FieldByName(QStringLiteral("fname")).Index();
    const int current = ds.RecNo() - 1;
    for (int row = 0; row < ds.RecordCount(); ++row)
        if (row != current &&
            ds.valueAt(row, at).toString().trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Tfrm_GoodsPriceRange::DBmaster_tableBeforePost() {
    Tbase_frmDictMdi::DBmaster_tableBeforePost();  // the name
    TRemoteUdpDataSet& ds = *DBmaster_table;
    const QString name = ds.FieldByName(QStringLiteral("fname")).AsString();
    // Stored already, or typed twice before saving: either way the same band.
    // A band renamed is left to the key of the table.
    if (isNewRow() &&
        (md::ui::QueryReturnsRow(QStringLiteral("select * from Ba_GoodsPriceRange where fNAME='") +
                                 SqlText(name) + QStringLiteral("'")) ||
         listedElsewhere(name.trimmed())))
        Refuse(QStringLiteral("不能录入相同的记录!"));
    const double lower = ds.FieldByName(QStringLiteral("fbeginvalues")).AsFloat();
    const double upper = ds.FieldByName(QStringLiteral("fendvalues")).AsFloat();
    if (upper < lower) Refuse(QStringLiteral("截止价位不能小于开始价位!"));
}

MD_REGISTER_FORM(Tfrm_GoodsPriceRange);
