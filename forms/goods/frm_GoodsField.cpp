#include "frm_GoodsField.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "session.h"
#include "styles.h"

namespace {

// The module's reference to the open dialog; emptied when the dialog is freed.
QPointer<Tfrm_GoodsField> g_goodsField;

}  // namespace

Tfrm_GoodsField::Tfrm_GoodsField(QWidget* owner) : Tbase_frm(owner) {
    setObjectName(QStringLiteral("frm_GoodsField"));
    setWindowTitle(QStringLiteral("货品描述设置"));
    // Only a close button in the frame.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->SetLockType(etBatchOptimistic);
    DBmaster_table->SetSQL(
        QStringLiteral("select * from ba_fieldremark where ftablename='goods' order by fid"));
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* v = cxGrid1DBTableView1;
    v->setDataSource(DbMaster_Source);
    v->AddColumn(QStringLiteral("fid"), QStringLiteral("ID号")).width(60).readOnly();
    v->AddColumn(QStringLiteral("ffieldname_sys"), QStringLiteral("系统名称"))
        .width(130)
        .readOnly();
    v->AddColumn(QStringLiteral("ffieldremark"), QStringLiteral("自定义名称")).width(160);
    v->AddColumn(QStringLiteral("visiblebit"), QStringLiteral("是否过滤显示"))
        .width(100)
        .checkBox();
    // The rows are the system's fields: none added or removed; no sorting or filtering.
    TGridViewOptions& options = v->Options();
    options.Appending = false;
    options.Inserting = false;
    options.Deleting = false;
    options.ColumnSorting = false;
    options.ColumnFiltering = false;
    options.GoToNextCellOnEnter = true;
    v->ApplyOptions();
    v->SetInputAllowed(true);

    But_OK = new QPushButton(QStringLiteral("确定"), this);
    But_OK->setObjectName(QStringLiteral("But_OK"));
    But_Cancel = new QPushButton(QStringLiteral("取消"), this);
    But_Cancel->setObjectName(QStringLiteral("But_Cancel"));
    // Enter belongs to the grid; the buttons are pressed, not defaulted.
    But_OK->setAutoDefault(false);
    But_Cancel->setAutoDefault(false);
    OnClick(But_OK, [this] { But_OKClick(); });
    OnClick(But_Cancel, [this] { But_CancelClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(But_OK);
    buttons->addWidget(But_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cxGrid1, 1);
    layout->addLayout(buttons);
    resize(500, 480);
}

int Tfrm_GoodsField::Execute(QWidget* owner) {
    if (!g_goodsField) g_goodsField = md::ui::CreateForm<Tfrm_GoodsField>(owner);
    return md::ui::ExecModal(*g_goodsField);
}

Tfrm_GoodsField* Tfrm_GoodsField::Instance() {
    return g_goodsField.data();
}

void Tfrm_GoodsField::FormCreate() {
    Tbase_frm::FormCreate();
    md::ui::ApplySharedColours(this);
    DBmaster_table->Open();
}

void Tfrm_GoodsField::FormDestroy() {
    Tbase_frm::FormDestroy();
    if (g_goodsField == this) g_goodsField = nullptr;
}

void Tfrm_GoodsField::But_OKClick() {
    const TDataSetState state = DBmaster_table->State();
    if (state == dsEdit || state == dsInsert) DBmaster_table->Post();
    DBmaster_table->UpdateBatch();
    md::ExecuteSQL(QStringLiteral("update repofield set fieldremark=b.ffieldremark from repofield "
                                  "a join ba_fieldremark b "
                                  "on a.fieldname=b.fname") +
                   QChar(13) + QStringLiteral("where b.ftablename='goods'"));
    accept();
}

void Tfrm_GoodsField::But_CancelClick() {
    const TDataSetState state = DBmaster_table->State();
    if (state == dsEdit || state == dsInsert) DBmaster_table->Cancel();
    DBmaster_table->CancelUpdates();
    reject();
}
