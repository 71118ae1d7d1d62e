#include "frm_ptype.h"

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

Tfrm_Ptype::Tfrm_Ptype(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("供应商类别"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_Ptype"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    DBmaster_table->AddField(QStringLiteral("fID"), ftString, 15);
    DBmaster_table->AddField(QStringLiteral("fCode"), ftString, 50).OnValidate = [this](TField& f) {
        fCodeValidate(f);
    };
    DBmaster_table->AddField(QStringLiteral("fName"), ftString, 50);
    DBmaster_table->AddField(QStringLiteral("fNotes"), ftString, 50);
    DBmaster_table->AddField(QStringLiteral("fFlag"), ftInteger);
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fCode"), QStringLiteral("类别代号")).width(100);
    v->AddColumn(QStringLiteral("fName"), QStringLiteral("类别名称")).width(180);
    v->AddColumn(QStringLiteral("fNotes"), QStringLiteral("说明")).width(240);
    HideActions({first_action, prio_action, next_action, last_action});
    resize(640, 440);
}

void Tfrm_Ptype::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
}

void Tfrm_Ptype::fCodeValidate(TField& field) {
    // Only a new category's code is checked; a saved one is its key.
    if (DBmaster_table->State() != dsInsert) return;
    if (md::ui::QueryReturnsRow(QStringLiteral("select top 1 fcode from ba_Ptype where fcode='") +
                                SqlText(field.AsString()) + QStringLiteral("'")))
        Refuse(QStringLiteral("类别代号已存在，请重新录入！"));
}

void Tfrm_Ptype::DBmaster_tableBeforePost() {
    TRemoteUdpDataSet& ds = *DBmaster_table;
    if (ds.FieldByName(QStringLiteral("fcode")).AsString().isEmpty())
        Refuse(QStringLiteral("类别代号不能为空！"));
    ds.FieldByName(QStringLiteral("fID"))
        .SetAsString(ds.FieldByName(QStringLiteral("fcode")).AsString());
    if (ds.FieldByName(QStringLiteral("fname")).AsString().isEmpty())
        Refuse(QStringLiteral("类别名称不能为空！"));
}

MD_REGISTER_FORM(Tfrm_Ptype);
