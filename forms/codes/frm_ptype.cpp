#include "frm_ptype.h"

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const TCodeTable kSupplierCategories{
    "供应商类别",
    "select * from ba_Ptype",
    {{"fCode", "类别代号", 100}, {"fName", "类别名称", 180}, {"fNotes", "说明", 240}},
    {{"fcode", "类别代号不能为空！"}, {"fname", "类别名称不能为空！"}},
    {640, 440}};

}  // namespace

Tfrm_Ptype::Tfrm_Ptype(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kSupplierCategories);
    DBmaster_table->AddField(QStringLiteral("fID"), ftString, 15);
    DBmaster_table->AddField(QStringLiteral("fCode"), ftString, 50).OnValidate = [this](TField& f) {
        fCodeValidate(f);
    };
    DBmaster_table->AddField(QStringLiteral("fName"), ftString, 50);
    DBmaster_table->AddField(QStringLiteral("fNotes"), ftString, 50);
    DBmaster_table->AddField(QStringLiteral("fFlag"), ftInteger);
}

void Tfrm_Ptype::fCodeValidate(TField& field) {
    // Only a new category's code is checked; a saved one is its key.
    if (DBmaster_table->State() != dsInsert) return;
    if (md::ui::QueryReturnsRow(QStringLiteral("select top 1 fcode from ba_Ptype where fcode='") +
                                SqlText(field.AsString()) + QStringLiteral("'")))
        Refuse(QStringLiteral("类别代号已存在，请重新录入！"));
}

void Tfrm_Ptype::DBmaster_tableBeforePost() {
    Tbase_frmDictMdi::DBmaster_tableBeforePost();
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("fID"))
        .SetAsString(ds.FieldByName(QStringLiteral("fcode")).AsString());
}

MD_REGISTER_FORM(Tfrm_Ptype);
