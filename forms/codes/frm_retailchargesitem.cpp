#include "frm_retailchargesitem.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"

namespace {

const TCodeTable kRetailCharges{
    "零售费用项目",
    "select * from ba_fieldvalues where ftablename='OA_SstockAmount' and (ffieldname='fitemname' "
    "or ffieldname='fMonthItem')",
    {{"fFieldValues", "费用项目名称", 220},
     {"fsysbit", "是否为月度费用", 110, TEditorKind::CheckBox}},
    {},
    {520, 440}};

}  // namespace

Tfrm_RetailChargesItem::Tfrm_RetailChargesItem(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kRetailCharges);
    HideActions({excel_action});
}

void Tfrm_RetailChargesItem::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    ds.FieldByName(QStringLiteral("ftablename")).SetAsString(QStringLiteral("OA_SstockAmount"));
    // Monthly items and the others are told apart by their field name.
    ds.FieldByName(QStringLiteral("ffieldname"))
        .SetAsString(ds.FieldByName(QStringLiteral("fsysbit")).AsBoolean()
                         ? QStringLiteral("fMonthItem")
                         : QStringLiteral("fitemname"));
    if (ds.FieldByName(QStringLiteral("fFieldValues")).AsString().isEmpty())
        md::ui::Refuse(QStringLiteral("项目名称不能为空!"));
}

MD_REGISTER_FORM(Tfrm_RetailChargesItem);
