#include "frm_barcolor.h"

#include <QPointer>

#include "formfactory.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "styles.h"

namespace {

// The module's reference to the open dialog; emptied when the dialog is freed.
QPointer<Tfrm_barcolor> g_barcolor;

}  // namespace

Tfrm_barcolor::Tfrm_barcolor(QWidget* owner) : TGridDialog(owner) {
    setObjectName(QStringLiteral("frm_barcolor"));
    setWindowTitle(QStringLiteral("条形码颜色对照表"));
    DBmaster_table->SetSQL(
        QStringLiteral("select a.*,b.colorname_ch as fcolorname from barcode_color a join ba_color "
                       "b on a.fcolorid=b.colorid"));
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fcolorid"), QStringLiteral("颜色代号")).width(90).readOnly();
    v->AddColumn(QStringLiteral("fcolorname"), QStringLiteral("颜色中文名称"))
        .width(130)
        .readOnly();
    v->AddColumn(QStringLiteral("fbarcolorid"), QStringLiteral("条形码对应颜色编号"))
        .width(140)
        .upperCase();
    But_OK = AddButton(QStringLiteral("But_OK"), QStringLiteral("确定"), [this] { But_OKClick(); });
    But_Cancel = AddButton(QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    resize(440, 460);
}

int Tfrm_barcolor::Execute(QWidget* owner) {
    if (!g_barcolor) g_barcolor = md::ui::CreateForm<Tfrm_barcolor>(owner);
    return md::ui::ExecModal(*g_barcolor);
}

void Tfrm_barcolor::FormCreate() {
    TGridDialog::FormCreate();
    md::ui::ApplySharedColours(this);
    // Every colour maps to itself until the user says otherwise.
    md::ExecuteSQL(
        QStringLiteral("insert into barcode_color(fcolorid,fbarcolorid)select colorid,colorid from "
                       "ba_color where colorid not in(select fcolorid from barcode_color)"));
    DBmaster_table->Open();
}

void Tfrm_barcolor::FormDestroy() {
    TGridDialog::FormDestroy();
    if (g_barcolor == this) g_barcolor = nullptr;
}

void Tfrm_barcolor::But_OKClick() {
    SaveChanges();
    accept();
}

void Tfrm_barcolor::But_CancelClick() {
    DropChanges();
    reject();
}

MD_REGISTER_FORM(Tfrm_barcolor);
