#include "shoplist.h"

#include <QLayout>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include "datasource.h"
#include "grid.h"
#include "remoteudpdataset.h"
#include "session.h"

TShopList::TShopList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ShopList"));
    DBshop_table = new TRemoteUdpDataSet(QStringLiteral("DBshop_table"), this);
    DBshop_table->SetLockType(etOptimistic);
    DbShop_Source = new TDataSource(QStringLiteral("DbShop_Source"), this);
    DbShop_Source->setDataSet(DBshop_table);
    DbShop_Source->SetAutoEdit(false);

    cxGrid2 = new TDBGrid(this, QStringLiteral("cxGrid2"));
    cxGrid2DBTableView1 = cxGrid2->View();
    cxGrid2DBTableView1->setDataSource(DbShop_Source);
    cxGrid2DBTableView1->AddColumn(QStringLiteral("fcode"), QStringLiteral("店铺编号")).width(72);
    cxGrid2DBTableView1->AddColumn(QStringLiteral("fabbrev"), QStringLiteral("店铺简称"))
        .width(110);
    cxGrid2DBTableView1->AddColumn(QStringLiteral("fmathod"), QStringLiteral("店铺性质")).width(72);
    cxGrid2DBTableView1->SetInputAllowed(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cxGrid2);

    DBshop_table->AfterOpen = [this](TRemoteUdpDataSet&) { report(true); };
    DBshop_table->AfterScroll = [this](TRemoteUdpDataSet&) { report(false); };
}

void TShopList::Open() {
    DBshop_table->Close();
    DBshop_table->setSetupUdpParent(md::Session().Connection);
    DBshop_table->Open();
}

QString TShopList::CurrentCode() const {
    if (!DBshop_table->Active() || DBshop_table->IsEmpty()) return QString();
    return DBshop_table->FieldByName(QStringLiteral("fcode")).AsString();
}

void TShopList::report(bool always) {
    // Opening scrolls to the first row right after it opened: one report.
    const QString code = CurrentCode();
    if (!always && code == m_reported) return;
    m_reported = code;
    if (OnShopChanged) OnShopChanged(code);
}

QSize TShopList::sizeHint() const {
    int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6;  // scroll bar and frame
    for (const TGridColumn* column : cxGrid2DBTableView1->Columns()) width += column->Width();
    return QSize(width, QWidget::sizeHint().height());
}

void TShopList::PlaceBeside(QWidget* grid) {
    QWidget* holder = grid->parentWidget();
    auto* splitter = new QSplitter(Qt::Horizontal, holder);
    splitter->setObjectName(QStringLiteral("ShopSplitter"));
    if (QLayout* layout = holder ? holder->layout() : nullptr)
        delete layout->replaceWidget(grid, splitter);
    splitter->addWidget(this);
    splitter->addWidget(grid);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
}
