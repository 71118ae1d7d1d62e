#include "frm_mrtype.h"

#include "formfactory.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "treelist.h"

Tfrm_MrType::Tfrm_MrType(QWidget* owner) : Tbase_frmMditree(owner) {
    setWindowTitle(QStringLiteral("物料类别"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_MrType"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    dxDBTreeList1->AddColumn(QStringLiteral("fcode"), QStringLiteral("编号")).width(90);
    dxDBTreeList1->AddColumn(QStringLiteral("fName"), QStringLiteral("名称")).width(110);
    AddEdit(QStringLiteral("类别代号："), QStringLiteral("fCode"), true);
    AddEdit(QStringLiteral("类别名称："), QStringLiteral("fName"));
    AddMemo(QStringLiteral("备    注："), QStringLiteral("fNotes"));
    // Material categories save without checks and leave the focus where it is.
    TreeRules.ParentQuery = [](const QString& parent) -> QString {
        return QStringLiteral("select * from ba_MrType where fparentcode='") + SqlText(parent) +
               QStringLiteral("'");
    };
    TreeRules.MoveFocus = false;
    resize(680, 500);
}

void Tfrm_MrType::FormCreate() {
    Tbase_frmMditree::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
}

MD_REGISTER_FORM(Tfrm_MrType);
