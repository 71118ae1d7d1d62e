#include "frm_bardetail.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "barquantitygrid.h"
#include "formfactory.h"
#include "localdata.h"
#include "messages.h"
#include "remoteudpdataset.h"
#include "reportprint.h"
#include "routines.h"

using md::ui::Refuse;

namespace {

const QString kLocalPieces = QStringLiteral("vbarcodetemp");
const QString kNothingToPrint = QStringLiteral("请选择录入要打印的明细内容");

}  // namespace

Tfrm_bardetail::Tfrm_bardetail(QWidget* owner) : Tbase_frmMdi(owner) {
    setObjectName(QStringLiteral("frm_bardetail"));
    setWindowTitle(QStringLiteral("条形码批量打印"));
    ToolBar1->hide();

    DBpiece_table = new TRemoteUdpDataSet(QStringLiteral("DBpiece_table"), this);

    auto* layout = new QVBoxLayout(ClientPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    Quantities = new TBarQuantityGrid(ClientPanel, TBarQuantityGrid::PriceColumn::RetailPrice);
    layout->addWidget(Quantities, 1);

    auto* bar = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, ClientPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumWidth(86);
        return b;
    };
    But_Clear = button("But_Clear", QStringLiteral("清 空"));
    But_Count = button("But_Count", QStringLiteral("统计"));
    But_Count->hide();
    But_Print = button("But_Print", QStringLiteral("批量打印"));
    But_Close = button("But_Close", QStringLiteral("关 闭"));
    bar->addStretch(1);
    for (QPushButton* b : {But_Clear, But_Count, But_Print, But_Close}) {
        b->setFocusPolicy(Qt::TabFocus);
        bar->addWidget(b);
    }
    layout->addLayout(bar);
    OnClick(But_Clear, [this] { But_ClearClick(); });
    OnClick(But_Count, [this] { But_CountClick(); });
    OnClick(But_Print, [this] { But_PrintClick(); });
    OnClick(But_Close, [this] { Close(); });

    PopupMenu1 = new TLabelMenu(this);
    connect(PopupMenu1->Menu_bar, &QAction::triggered, this,
            [this] { Run([this] { Menu_barClick(); }); });
    for (int number = 1; number <= 3; ++number)
        connect(PopupMenu1->ShoeBar(number), &QAction::triggered, this,
                [this, number] { Run([this, number] { Menu_ShoeBarClick(number); }); });

    for (const char* hint :
         {"F2 增加一行", "F3 删除一行", "F4 货号选择", "F5 颜色尺码对照录入", "F6 刷新合计"})
        StatusBar1->addWidget(new QLabel(QString::fromUtf8(hint), StatusBar1), 1);
    resize(734, 494);
}

QString Tfrm_bardetail::PrintSQL() {
    return QStringLiteral(
        "select a.* from vbarcode a  join barcode_temp b on a.货号=b.fgoodsid and "
        "颜色编号=b.fcolorid and 尺码=b.fsize");
}

void Tfrm_bardetail::FormCreate() {
    Tbase_frmMdi::FormCreate();
    PopupMenu1->Apply(TBarListSettings::Read());
    Quantities->SetMaterialMode(TBarQuantityGrid::ReadMaterialMode());
    Quantities->OpenList();
}

void Tfrm_bardetail::UpdateActionState() {
    Tbase_frmMdi::UpdateActionState();
    StatusBar1->setEnabled(true);  // the key hints are always readable
}

bool Tfrm_bardetail::FormKeyPress(QKeyEvent& event) {
    return Quantities->HandleKey(event) || Tbase_frmMdi::FormKeyPress(event);
}

void Tfrm_bardetail::But_CountClick() {
    TRemoteUdpDataSet& list = *Quantities->DBdetail_table;
    if (!list.Active()) Refuse(kNothingToPrint);
    Quantities->SendChanges();
    if (Quantities->TotalQty() <= 0) Refuse(kNothingToPrint);
    md::OpenQuery(*DBpiece_table, QStringLiteral("exec get_barcodetemp"));
    copyPiecesToLocalTable();
}

// The local table's columns take the piece list's columns of the same name
// (any case); piece columns without a namesake stay behind.
void Tfrm_bardetail::copyPiecesToLocalTable() {
    const QSqlRecord local = md::OpenLocalData(kLocalPieces).record(kLocalPieces);
    QStringList columns;
    QList<int> sources;
    for (int c = 0; c < local.count(); ++c) {
        const TField* source = DBpiece_table->FindField(local.fieldName(c));
        if (!source) continue;
        columns << local.fieldName(c);
        sources << source->Index();
    }
    QList<QVariantList> rows;
    rows.reserve(DBpiece_table->RecordCount());
    for (int row = 0; row < DBpiece_table->RecordCount(); ++row) {
        QVariantList values;
        values.reserve(sources.size());
        for (int source : sources) values << DBpiece_table->valueAt(row, source);
        rows << values;
    }
    md::ReplaceLocalRows(kLocalPieces, columns, rows);
}

void Tfrm_bardetail::But_ClearClick() {
    if (!md::ui::AskYesNo(QStringLiteral("您是否确认清空此表?"))) return;
    Quantities->CloseList();
    md::ExecuteSQL(QStringLiteral("delete from barcodedetail"));
    Quantities->RefreshTotals();
    Quantities->OpenList();
}

void Tfrm_bardetail::But_PrintClick() {
    PopupMenu1->popup(QCursor::pos());
}

void Tfrm_bardetail::Menu_barClick() {
    But_CountClick();
    if (!DBpiece_table->Active()) Refuse(QStringLiteral("请先按统计按钮进行统计才能打印"));
    if (!md::ui::AskYesNo(QStringLiteral("您是否现在确认批量打印条形码？"))) return;
    md::ui::PrintOneTable(QStringLiteral("吊牌.frf"), PrintSQL());
}

void Tfrm_bardetail::Menu_ShoeBarClick(int number) {
    But_CountClick();
    const TBarListSettings& settings = PopupMenu1->Settings();
    md::ui::StartLabelProgram(settings.opentype, settings.Bar(number));
}

void Tfrm_bardetail::FormClose() {
    // Yes empties the list for the next opening; No keeps what the last print
    // sent (rows typed since are not sent).
    if (md::ui::AskYesNo(QStringLiteral("您是否确认清空此表?")))
        md::ExecuteSQL(QStringLiteral("delete from barcodedetail\rdelete from barcode_temp"));
    Tbase_frmMdi::FormClose();
}

MD_REGISTER_FORM(Tfrm_bardetail);
