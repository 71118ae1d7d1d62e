#include "frm_color.h"

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

Tfrm_color::Tfrm_color(QWidget* owner) : Tbase_frmDictMdi(owner) {
    setWindowTitle(QStringLiteral("基本颜色设置"));
    DBmaster_table->SetSQL(QStringLiteral("select * from ba_color"));
    DBmaster_table->SetRTSQL(DBmaster_table->SQL());
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("colorid"), QStringLiteral("颜色编号"))
        .width(100)
        .footer(TSummaryKind::Count, QStringLiteral("记录数：0"));
    v->AddColumn(QStringLiteral("colorname_ch"), QStringLiteral("颜色中文说明")).width(160);
    v->AddColumn(QStringLiteral("colorname_en"), QStringLiteral("颜色英文说明")).width(180);
    v->AddColumn(QStringLiteral("color_values"), QStringLiteral("颜色对比值")).width(150).color();
    ShowActions({print_action});
    HideActions({first_action, prio_action, next_action, last_action});
    resize(720, 520);
}

void Tfrm_color::FormCreate() {
    Tbase_frmDictMdi::FormCreate();
    DBmaster_table->setrtactive(true);
}

void Tfrm_color::DBmaster_tableBeforePost() {
    if (DBmaster_table->FieldByName(QStringLiteral("colorid")).AsString().isEmpty())
        Refuse(QStringLiteral("颜色编号不能为空！"));
}

void Tfrm_color::del_actionExecute() {
    // A colour that goods use stays, whatever the user answers.
    const QString colorId = DBmaster_table->FieldByName(QStringLiteral("colorid")).AsString();
    if (md::ui::QueryReturnsRow(
            QStringLiteral("select top 1 fcolorid from goodscolor where fcolorid='") +
            SqlText(colorId) + QStringLiteral("'")))
        Refuse(QStringLiteral("不能删除货品档案已使用的颜色"));
    Tbase_frmDictMdi::del_actionExecute();
}

MD_REGISTER_FORM(Tfrm_color);
