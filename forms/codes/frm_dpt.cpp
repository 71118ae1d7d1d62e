#include "frm_dpt.h"

#include "dbcontrols.h"
#include "formfactory.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "treelist.h"

Tfrm_dpt::Tfrm_dpt(QWidget* owner) : Tbase_frmMditree(owner) {
    setWindowTitle(QStringLiteral("部门资料"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_Department"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    dxDBTreeList1->AddColumn(QStringLiteral("fname"), QStringLiteral("名称")).width(170);
    AddEdit(QStringLiteral("部门编号："), QStringLiteral("fCode"), true);
    AddEdit(QStringLiteral("部门名称："), QStringLiteral("fName"));
    AddEdit(QStringLiteral("部门经理："), QStringLiteral("fDeptManager"));
    AddEdit(QStringLiteral("部门地址："), QStringLiteral("fAddress"));
    AddEdit(QStringLiteral("电    话："), QStringLiteral("fTel"));
    AddEdit(QStringLiteral("传    真："), QStringLiteral("fFax"));
    AddEdit(QStringLiteral("EMAIL："), QStringLiteral("fEmail"));
    AddEdit(QStringLiteral("备    注："), QStringLiteral("fNotes"));
    AddCheckBox(QStringLiteral("启   用"), QStringLiteral("fStatus")).setVisible(false);
    TreeRules.ParentQuery = [](const QString& parent) -> QString {
        return QStringLiteral("select * from ba_Department where fparentcode='") + SqlText(parent) +
               QStringLiteral("'");
    };
    TreeRules.DuplicateQuery = [](const QString& code) -> QString {
        return QStringLiteral("select fcode from ba_Department where fcode='") + SqlText(code) +
               QStringLiteral("'");
    };
    TreeRules.EmptyNameMessage = QStringLiteral("请输入部门名称!");
    TreeRules.EmptyCodeMessage = QStringLiteral("部门编号不能为空!");
    TreeRules.DuplicateCodeMessage = QStringLiteral("部门编号不能重复!");
    HideActions({excel_action});
    resize(680, 520);
}

void Tfrm_dpt::FormCreate() {
    Tbase_frmMditree::FormCreate();
    DBmaster_table->Close();
    DBmaster_table->Open();
}

bool Tfrm_dpt::FormKeyPress(QKeyEvent& event) {
    return FocusNextOnEnter(event) || Tbase_frmMditree::FormKeyPress(event);
}

MD_REGISTER_FORM(Tfrm_dpt);
