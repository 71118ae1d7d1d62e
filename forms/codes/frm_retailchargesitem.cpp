#include "frm_retailchargesitem.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"

Tfrm_RetailChargesItem::Tfrm_RetailChargesItem(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("零售费用项目"));
    DBmaster_table->SetSQL(
        QStringLiteral("select * from ba_fieldvalues where ftablename='OA_SstockAmount' ") +
        QStringLiteral("and (ffieldname='fitemname' or ffieldname='fMonthItem')"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    cxGrid1DBTableView1->AddColumn(QStringLiteral("fFieldValues"), QStringLiteral("费用项目名称"))
        .width(220);
    cxGrid1DBTableView1->AddColumn(QStringLiteral("fsysbit"), QStringLiteral("是否为月度费用"))
        .width(110)
        .checkBox();
    HideActions({first_action, prio_action, next_action, last_action, excel_action});
    resize(520, 440);
}

void Tfrm_RetailChargesItem::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
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
