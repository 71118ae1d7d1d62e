#include "frm_etype.h"

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"

Tfrm_Etype::Tfrm_Etype(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("员工类别"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_Etype"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    cxGrid1DBTableView1->AddColumn(QStringLiteral("fName"), QStringLiteral("员工类别")).width(160);
    cxGrid1DBTableView1->AddColumn(QStringLiteral("fNotes"), QStringLiteral("备注")).width(280);
    HideActions({first_action, prio_action, next_action, last_action});
    resize(560, 420);
}

void Tfrm_Etype::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
}

void Tfrm_Etype::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fname")).AsString().isEmpty())
        md::ui::Refuse(QStringLiteral("类别名称不能为空!"));
    // Renaming changes the key; the saved row is still found by its old one.
    ds.FieldByName(QStringLiteral("fid"))
        .SetAsString(ds.FieldByName(QStringLiteral("fName")).AsString());
}

MD_REGISTER_FORM(Tfrm_Etype);
