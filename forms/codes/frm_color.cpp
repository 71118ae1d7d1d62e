#include "frm_color.h"

#include "dbchecks.h"
#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "sqlquote.h"

using md::ui::Refuse;

namespace {

const TCodeTable kColours{
    "基本颜色设置",
    "select * from ba_color",
    {{"colorid", "颜色编号", 100, TEditorKind::Text, TSummaryKind::Count, "记录数：0"},
     {"colorname_ch", "颜色中文说明", 160},
     {"colorname_en", "颜色英文说明", 180},
     {"color_values", "颜色对比值", 150, TEditorKind::Color}},
    {{"colorid", "颜色编号不能为空！"}},
    {720, 520}};

}  // namespace

Tfrm_color::Tfrm_color(QWidget* owner) : Tbase_frmDictMdi(owner) {
    Describe(kColours);
    ShowActions({print_action});
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
