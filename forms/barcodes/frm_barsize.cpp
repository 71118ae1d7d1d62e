#include "frm_barsize.h"

#include <QPointer>
#include <QPushButton>

#include "formfactory.h"
#include "grid.h"
#include "localdata.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "styles.h"

using namespace md::ui;

namespace {

// The module's reference to the open dialog; emptied when the dialog is freed.
QPointer<Tfrm_barsize> g_barsize;

}  // namespace

Tfrm_barsize::Tfrm_barsize(QWidget* owner) : TGridDialog(owner) {
    setObjectName(QStringLiteral("frm_barsize"));
    setWindowTitle(QStringLiteral("条形码尺码对照表"));
    DBmaster_table->SetSQL(QStringLiteral("select * from barcode_size"));
    TDBTableView* v = cxGrid1DBTableView1;
    v->AddColumn(QStringLiteral("fsize"), QStringLiteral("尺码名称")).width(110).readOnly();
    v->AddColumn(QStringLiteral("fbarcodesize"), QStringLiteral("条形码对应尺码"))
        .width(130)
        .upperCase();
    But_Local = AddButton(QStringLiteral("But_Local"), QStringLiteral("更新本地数据库"),
                          [this] { But_LocalClick(); });
    But_Local->setMinimumWidth(130);
    But_OK = AddButton(QStringLiteral("But_OK"), QStringLiteral("确定"), [this] { But_OKClick(); });
    But_Cancel = AddButton(QStringLiteral("But_Cancel"), QStringLiteral("取消"),
                           [this] { But_CancelClick(); });
    resize(400, 460);
}

int Tfrm_barsize::Execute(QWidget* owner) {
    if (!g_barsize) g_barsize = CreateForm<Tfrm_barsize>(owner);
    return ExecModal(*g_barsize);
}

void Tfrm_barsize::FormCreate() {
    TGridDialog::FormCreate();
    ApplySharedColours(this);
    // Every size maps to itself until the user says otherwise.
    md::ExecuteSQL(
        QStringLiteral("insert into barcode_size(Fsize,fbarcodesize)select size_name,size_name "
                       "from ba_size where size_name not in(select fsize from barcode_size) "
                       "group by size_name"));
    DBmaster_table->Open();
}

void Tfrm_barsize::FormDestroy() {
    TGridDialog::FormDestroy();
    if (g_barsize == this) g_barsize = nullptr;
}

void Tfrm_barsize::But_LocalClick() {
    if (!AskYesNo(QStringLiteral("是否确认更新本地数据库?"))) Abort();
    if (DBmaster_table->InEditState()) DBmaster_table->Post();
    // The mapping as the dialog shows it, saved or not.
    QList<QVariantList> rows;
    {
        TControlsDisabled still(*DBmaster_table);
        TBookmarkKept place(*DBmaster_table);
        const TField& size = DBmaster_table->FieldByName(QStringLiteral("fsize"));
        const TField& code = DBmaster_table->FieldByName(QStringLiteral("fbarcodesize"));
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next())
            rows << QVariantList{size.Value(), code.Value()};
    }
    md::ReplaceLocalRows(QStringLiteral("size_name"),
                         {QStringLiteral("size_name1"), QStringLiteral("size_name2")}, rows);
    MessageBox(QStringLiteral("更新本地数据库成功"));
}

void Tfrm_barsize::But_OKClick() {
    SaveChanges();
    MessageBox(QStringLiteral("保存成功！"));
}

void Tfrm_barsize::But_CancelClick() {
    DropChanges();
    reject();
}

MD_REGISTER_FORM(Tfrm_barsize);
