#include "frm_area.h"

#include "formfactory.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"
#include "treelist.h"

Tfrm_Area::Tfrm_Area(QWidget* owner) : Tbase_frmMditree(owner) {
    setWindowTitle(QStringLiteral("地区资料"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_Area"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    dxDBTreeList1->AddColumn(QStringLiteral("fName"), QStringLiteral("名称")).width(170);
    AddEdit(QStringLiteral("地区编号："), QStringLiteral("fCode"), true);
    AddEdit(QStringLiteral("地区名称："), QStringLiteral("fName"));
    AddMemo(QStringLiteral("备    注："), QStringLiteral("fNotes"));
    TreeRules.ParentQuery = [](const QString& parent) -> QString {
        return QStringLiteral("select * from ba_Area where fparentcode='") + SqlText(parent) +
               QStringLiteral("'");
    };
    TreeRules.DuplicateQuery = [](const QString& code) -> QString {
        return QStringLiteral("select fcode from ba_Area where fcode='") + SqlText(code) +
               QStringLiteral("'");
    };
    TreeRules.EmptyNameMessage = QStringLiteral("请输入地区名称!");
    TreeRules.EmptyCodeMessage = QStringLiteral("地区编号不能为空!");
    TreeRules.DuplicateCodeMessage = QStringLiteral("地区编号不能重复!");
    HideActions({excel_action});
    resize(640, 480);
}

void Tfrm_Area::FormShow() {
    // Opened when first shown; the tree editor then expands it fully.
    if (!DBmaster_table->Active()) DBmaster_table->Open();
    Tbase_frmMditree::FormShow();
}

bool Tfrm_Area::FormKeyPress(QKeyEvent& event) {
    return FocusNextOnEnter(event) || Tbase_frmMditree::FormKeyPress(event);
}

MD_REGISTER_FORM(Tfrm_Area);
