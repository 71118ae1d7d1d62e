#include "colorsize.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

#include "datasource.h"
#include "grid.h"
#include "gridmodel.h"
#include "remoteudpdataset.h"
#include "routines.h"
#include "scopes.h"
#include "sharedvalues.h"
#include "sqlquote.h"

using namespace md::ui;

namespace {

const QStringList kPickListFields = {QStringLiteral("goodsid"),  QStringLiteral("goodsname"),
                                     QStringLiteral("brand"),    QStringLiteral("ayear"),
                                     QStringLiteral("season"),   QStringLiteral("sort"),
                                     QStringLiteral("unitprice")};

constexpr int kMinSizeColumnWidth = 44;

// The size slots in use: the database's count, at most the 30 columns.
int slotCount() {
    return qBound(0, md::Shared().SizeSlotCount, md::kSizeSlotMax);
}

// A quantity is a whole number of pieces, none or more; an empty cell is none.
QString quantityInputError(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty()) return QString();
    bool whole = false;
    const qlonglong value = text.toLongLong(&whole);
    if (!whole) return QStringLiteral("数量必须是整数!");
    if (value < 0) return QStringLiteral("数量不能为负数!");
    if (value > INT_MAX) return QStringLiteral("数量太大!");
    return QString();
}

}  // namespace

Tfrm_colorsize::Tfrm_colorsize(QWidget* owner) : Tbase_frmTop(owner) {
    setObjectName(QStringLiteral("frm_colorsize"));
    setWindowTitle(QStringLiteral("单据数量录入"));

    DBgoods_table = new TRemoteUdpDataSet(QStringLiteral("DBgoods_table"), this);
    DBgoods_table->AddField(QStringLiteral("goodsid"), ftString, 30);
    DBgoods_table->AddField(QStringLiteral("goodsname"), ftString, 50);
    DBgoods_table->AddField(QStringLiteral("brand"), ftString, 30);
    DBgoods_table->AddField(QStringLiteral("ayear"), ftString, 30);
    DBgoods_table->AddField(QStringLiteral("season"), ftString, 30);
    DBgoods_table->AddField(QStringLiteral("sort"), ftString, 30);
    DBgoods_table->AddField(QStringLiteral("unitprice"), ftCurrency);
    DbGoods_Source = new TDataSource(QStringLiteral("DbGoods_Source"), this);
    DbGoods_Source->setDataSet(DBgoods_table);
    DbGoods_Source->SetAutoEdit(false);

    DBmaster_table = new TRemoteUdpDataSet(QStringLiteral("DBmaster_table"), this);
    DBmaster_table->AddField(QStringLiteral("goodsid"), ftString, 30);
    DBmaster_table->AddField(QStringLiteral("colorid"), ftString, 30);
    DBmaster_table->AddField(QStringLiteral("color"), ftString, 50);
    DBmaster_table->AddField(QStringLiteral("size_class"), ftString, 30);
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
        m_slots[size_t(slot - 1)] = &DBmaster_table->AddField(md::SizeSlotColumn(slot), ftInteger);
    m_price = &DBmaster_table->AddField(QStringLiteral("fbalancprice"), ftCurrency);
    DBmaster_table->AddField(QStringLiteral("fdiscount"), ftFloat);
    m_qty = &DBmaster_table->AddCalcField(QStringLiteral("qty"), ftInteger);
    m_sumto = &DBmaster_table->AddCalcField(QStringLiteral("sumto"), ftCurrency);
    DBmaster_table->OnCalcFields = [this](TRemoteUdpDataSet& row) { calcRow(row); };
    DbMaster_Source = new TDataSource(QStringLiteral("DbMaster_Source"), this);
    DbMaster_Source->setDataSet(DBmaster_table);

    auto* layout = new QVBoxLayout(this);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(new QLabel(QStringLiteral("货号:"), this));
    Edit_goodsid = new QLineEdit(this);
    Edit_goodsid->setObjectName(QStringLiteral("Edit_goodsid"));
    Edit_goodsid->setMaxLength(30);
    Edit_goodsid->setFixedWidth(180);
    codeRow->addWidget(Edit_goodsid);
    codeRow->addStretch(1);
    layout->addLayout(codeRow);

    cxGrid1 = new TDBGrid(this, QStringLiteral("cxGrid1"));
    cxGrid1DBTableView1 = cxGrid1->View();
    TDBTableView* pick = cxGrid1DBTableView1;
    pick->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号")).width(110);
    pick->AddColumn(QStringLiteral("goodsname"), QStringLiteral("货品名称")).width(160);
    pick->AddColumn(QStringLiteral("brand"), QStringLiteral("品牌")).width(80);
    pick->AddColumn(QStringLiteral("ayear"), QStringLiteral("年份")).width(60);
    pick->AddColumn(QStringLiteral("season"), QStringLiteral("季节")).width(60);
    pick->AddColumn(QStringLiteral("sort"), QStringLiteral("类别")).width(80);
    pick->AddColumn(QStringLiteral("unitprice"), QStringLiteral("吊牌价")).width(80).currency();
    pick->SetInputAllowed(false);
    pick->setDataSource(DbGoods_Source);
    cxGrid1->setFixedHeight(150);
    layout->addWidget(cxGrid1);
    connect(pick, &QAbstractItemView::doubleClicked, this,
            [this] { Run([this] { TakeGoods(); }); });

    cxGrid2 = new TDBGrid(this, QStringLiteral("cxGrid2"));
    cxGrid2DBTableView1 = cxGrid2->View();
    TDBTableView* qty = cxGrid2DBTableView1;
    // Two caption rows: "尺码" over the sizes of the loaded item's group; the
    // other columns have an empty band above them, so the header reads as one.
    const int colorBand = qty->AddBand(QString());
    const int sizeBand = qty->AddBand(QStringLiteral("尺码"));
    const int totalBand = qty->AddBand(QString());
    qty->AddColumn(QStringLiteral("goodsid"), QStringLiteral("货号"))
        .band(colorBand)
        .width(100)
        .readOnly()
        .footer(TSummaryKind::Count, QStringLiteral("0"));
    qty->AddColumn(QStringLiteral("colorid"), QStringLiteral("颜色编号"))
        .band(colorBand)
        .width(70)
        .readOnly();
    qty->AddColumn(QStringLiteral("color"), QStringLiteral("颜色说明"))
        .band(colorBand)
        .width(80)
        .readOnly();
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot)
        qty->AddColumn(md::SizeSlotColumn(slot), md::SizeSlotFieldName(slot))
            .band(sizeBand)
            .width(kMinSizeColumnWidth)
            .hidden()
            .footer(TSummaryKind::Sum, QStringLiteral("0"))
            .inputCheck(quantityInputError);
    qty->AddColumn(QStringLiteral("qty"), QStringLiteral("合计"))
        .band(totalBand)
        .width(60)
        .readOnly()
        .footer(TSummaryKind::Sum, QStringLiteral("0"));
    qty->AddColumn(QStringLiteral("fbalancprice"), QStringLiteral("单价"))
        .band(totalBand)
        .width(70)
        .currency();
    qty->AddColumn(QStringLiteral("sumto"), QStringLiteral("金额"))
        .band(totalBand)
        .width(80)
        .readOnly()
        .displayFormat(QStringLiteral("0.00"));
    // The rows are the item's colours: none is added or deleted here.
    qty->Options().Footer = true;
    qty->Options().Appending = false;
    qty->Options().Inserting = false;
    qty->Options().Deleting = false;
    qty->ApplyOptions();
    qty->setSelectionBehavior(QAbstractItemView::SelectItems);
    qty->setDataSource(DbMaster_Source);
    layout->addWidget(cxGrid2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    But_Add = new QPushButton(QStringLiteral("添加[F2]"), this);
    But_Add->setObjectName(QStringLiteral("But_Add"));
    But_Add->setAutoDefault(false);
    But_Close = new QPushButton(QStringLiteral("关闭[F4]"), this);
    But_Close->setObjectName(QStringLiteral("But_Close"));
    But_Close->setAutoDefault(false);
    buttons->addWidget(But_Add);
    buttons->addWidget(But_Close);
    layout->addLayout(buttons);
    OnClick(But_Add, [this] { But_AddClick(); });
    OnClick(But_Close, [this] { Close(); });

    resize(920, 560);
}

void Tfrm_colorsize::FormCreate() {
    Tbase_frmTop::FormCreate();
    DBgoods_table->CreateDataSet();
    DBmaster_table->CreateDataSet();
}

void Tfrm_colorsize::FormShow() {
    Edit_goodsid->setFocus();
    Edit_goodsid->selectAll();
}

void Tfrm_colorsize::SetTarget(TRemoteUdpDataSet* target, const QString& goodsCode) {
    m_target = target;
    Edit_goodsid->setText(goodsCode);
}

TRemoteUdpDataSet* Tfrm_colorsize::Target() const {
    return m_target;
}

// ---------------------------------------------------------------- goods search and pick list

void Tfrm_colorsize::Edit_goodsidEnter() {
    const QString text = Edit_goodsid->text().trimmed();
    if (text.isEmpty()) return;
    TRemoteUdpDataSet found;
    md::OpenQuery(found, QStringLiteral("select goodsid,goodsname,brand,ayear,season,sort,"
                                        "unitprice from goods where goodsid like '%") +
                             SqlText(text) + QStringLiteral("%") + QStringLiteral("'"));
    fillPickList(found);
    if (DBgoods_table->RecordCount() == 1)
        LoadColors(DBgoods_table->FieldByName(QStringLiteral("goodsid")).AsString());
    else
        cxGrid1DBTableView1->setFocus();
}

void Tfrm_colorsize::fillPickList(TRemoteUdpDataSet& found) {
    TControlsDisabled still(*DBgoods_table);
    DBgoods_table->EmptyDataSet();
    for (found.First(); !found.Eof(); found.Next()) {
        DBgoods_table->Append();
        for (const QString& name : kPickListFields)
            DBgoods_table->FieldByName(name).SetValue(found.FieldByName(name).Value());
        DBgoods_table->Post();
    }
    DBgoods_table->First();
}

void Tfrm_colorsize::TakeGoods() {
    if (!DBgoods_table->Active() || DBgoods_table->IsEmpty()) return;
    LoadColors(DBgoods_table->FieldByName(QStringLiteral("goodsid")).AsString());
    DBgoods_table->Delete();
}

// ---------------------------------------------------------------- the quantity grid

void Tfrm_colorsize::LoadColors(const QString& goodsCode) {
    TRemoteUdpDataSet colors;
    md::OpenQuery(
        colors, QStringLiteral("select top 50 goodsid,colorid,colorname_ch,size_class from "
                               "vgoodscolor where goodsid='") +
                    SqlText(goodsCode) + QStringLiteral("'") + QStringLiteral(" or goodssortid=") +
                    QStringLiteral("'") + SqlText(goodsCode) + QStringLiteral("'"));
    QString group;
    {
        TControlsDisabled still(*DBmaster_table);
        DBmaster_table->EmptyDataSet();
        for (colors.First(); !colors.Eof(); colors.Next()) {
            group = colors.FieldByName(QStringLiteral("size_class")).AsString();
            DBmaster_table->Append();
            DBmaster_table->FieldByName(QStringLiteral("goodsid"))
                .SetAsString(colors.FieldByName(QStringLiteral("goodsid")).AsString());
            DBmaster_table->FieldByName(QStringLiteral("colorid"))
                .SetAsString(colors.FieldByName(QStringLiteral("colorid")).AsString());
            DBmaster_table->FieldByName(QStringLiteral("color"))
                .SetAsString(colors.FieldByName(QStringLiteral("colorname_ch")).AsString());
            DBmaster_table->FieldByName(QStringLiteral("size_class")).SetAsString(group);
            DBmaster_table->Post();
        }
        DBmaster_table->First();
    }
    // The rows of one item share one size group; the last row's counts.
    showSizeColumns(colors.IsEmpty() ? QStringList() : md::GroupSizes(group));
    const int first = cxGrid2DBTableView1->SectionOf(md::SizeSlotColumn(1));
    if (!DBmaster_table->IsEmpty() && !m_sizes.isEmpty()) focusQuantityCell(0, first);
}

void Tfrm_colorsize::showSizeColumns(const QStringList& sizes) {
    TDBTableView* view = cxGrid2DBTableView1;
    const QFontMetrics metrics = view->horizontalHeader()->fontMetrics();
    const int shown = qMin(int(sizes.size()), slotCount());
    m_sizes.clear();
    for (int slot = 1; slot <= md::kSizeSlotMax; ++slot) {
        TGridColumn* column = view->Column(md::SizeSlotColumn(slot));
        if (slot > shown) {
            column->hidden();
            continue;
        }
        const QString name = sizes.at(slot - 1).trimmed();
        m_sizes << name;
        column->caption(name)
            .width(qMax(kMinSizeColumnWidth, metrics.horizontalAdvance(name) + 16))
            .visible(true);
    }
}

void Tfrm_colorsize::calcRow(TRemoteUdpDataSet&) {
    qint64 qty = 0;
    for (int slot = 1; slot <= slotCount(); ++slot) qty += m_slots[size_t(slot - 1)]->AsInteger();
    m_qty->SetAsInteger(qty);
    m_sumto->SetAsFloat(std::round(m_price->AsFloat() * double(qty) * 100.0) / 100.0);
}

bool Tfrm_colorsize::hasQuantity() const {
    for (int slot = 1; slot <= slotCount(); ++slot)
        if (m_slots[size_t(slot - 1)]->AsInteger() != 0) return true;
    return false;
}

void Tfrm_colorsize::But_AddClick() {
    if (!m_target) throw EDatabaseError(QStringLiteral("没有接收数量的数据集。"));
    DBmaster_table->CheckBrowseMode();
    TRemoteUdpDataSet& target = *m_target;
    // Every field is found before anything is written.
    TField& targetGoods = target.FieldByName(QStringLiteral("fgoodsid"));
    TField& targetColor = target.FieldByName(QStringLiteral("fcolorid"));
    QList<TField*> targetSlots;
    for (int slot = 1; slot <= slotCount(); ++slot)
        targetSlots << &target.FieldByName(md::SizeSlotColumn(slot));
    const TField& goods = DBmaster_table->FieldByName(QStringLiteral("goodsid"));
    const TField& color = DBmaster_table->FieldByName(QStringLiteral("colorid"));
    {
        TControlsDisabled stillTarget(target);
        TControlsDisabled still(*DBmaster_table);
        for (DBmaster_table->First(); !DBmaster_table->Eof(); DBmaster_table->Next()) {
            if (!hasQuantity()) continue;
            target.Append();
            try {
                targetGoods.SetAsString(goods.AsString());
                targetColor.SetAsString(color.AsString());
                for (int i = 0; i < targetSlots.size(); ++i)
                    targetSlots[i]->SetAsInteger(m_slots[size_t(i)]->AsInteger());
                target.Post();
            } catch (...) {
                // A row the target refused is not left half-filled.
                if (target.InEditState()) target.Cancel();
                throw;
            }
        }
        DBmaster_table->EmptyDataSet();
    }
    Edit_goodsid->clear();
    Edit_goodsid->setFocus();
}

// ---------------------------------------------------------------- keys

QList<int> Tfrm_colorsize::typedSections() const {
    QList<int> sections;
    for (int section : cxGrid2DBTableView1->VisibleSections()) {
        const TGridColumn* column = cxGrid2DBTableView1->ColumnOfSection(section);
        if (column && !column->ReadOnly()) sections << section;
    }
    return sections;
}

void Tfrm_colorsize::focusQuantityCell(int row, int section) {
    TDBTableView* view = cxGrid2DBTableView1;
    const QModelIndex at = view->gridModel()->index(row, section);
    if (!at.isValid()) return;
    view->setCurrentIndex(at);
    view->setFocus();
}

// Enter: the next size (then the price) of the row, after the last one the
// first size of the next row. A quantity that is no whole number stops here.
void Tfrm_colorsize::moveToNextQuantityCell() {
    TDBTableView* view = cxGrid2DBTableView1;
    view->PostEditor();
    const QList<int> sections = typedSections();
    const QModelIndex at = view->currentIndex();
    if (sections.isEmpty() || !at.isValid()) return;
    const qsizetype i = sections.indexOf(at.column());
    if (i + 1 < sections.size())
        focusQuantityCell(at.row(), sections.at(i + 1));
    else if (at.row() + 1 < view->gridModel()->rowCount())
        focusQuantityCell(at.row() + 1, sections.first());
}

// Up and Down: the row above or below (Down: at its first size), once the
// open cell's quantity is accepted.
void Tfrm_colorsize::moveQuantityRow(int step, bool toFirstSize) {
    TDBTableView* view = cxGrid2DBTableView1;
    view->PostEditor();
    const QModelIndex at = view->currentIndex();
    const int rows = view->gridModel()->rowCount();
    if (!at.isValid() || rows == 0) return;
    const int row = qBound(0, at.row() + step, rows - 1);
    const int firstSize = view->SectionOf(md::SizeSlotColumn(1));
    const bool sizeShown = !view->horizontalHeader()->isSectionHidden(firstSize);
    focusQuantityCell(row, toFirstSize && sizeShown ? firstSize : at.column());
}

bool Tfrm_colorsize::FormKeyPress(QKeyEvent& event) {
    if (event.modifiers() & ~Qt::KeypadModifier) return Tbase_frmTop::FormKeyPress(event);
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget* focus = QApplication::focusWidget();
    auto within = [focus](QWidget* part) {
        return focus && (focus == part || part->isAncestorOf(focus));
    };
    switch (key) {
        case Qt::Key_F2:
            Run([this] {
                PostPendingEdits();
                But_AddClick();
            });
            return true;
        case Qt::Key_F3:
            Run([this] { TakeGoods(); });
            return true;
        case Qt::Key_F4:
            Close();
            return true;
        default:
            break;
    }
    if (enter && focus == Edit_goodsid && !Edit_goodsid->text().trimmed().isEmpty()) {
        Run([this] { Edit_goodsidEnter(); });
        return true;
    }
    if (enter && within(cxGrid1)) {
        Run([this] { TakeGoods(); });
        return true;
    }
    if (within(cxGrid2)) {
        // Handled here, so a refused quantity is told once and the cell stays.
        if (enter) {
            Run([this] { moveToNextQuantityCell(); });
            return true;
        }
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            Run([this, key] {
                moveQuantityRow(key == Qt::Key_Down ? 1 : -1, key == Qt::Key_Down);
            });
            return true;
        }
    }
    return Tbase_frmTop::FormKeyPress(event);
}

// ---------------------------------------------------------------- for callers

namespace md::ui {

void EnterColorSizeQuantities(QWidget* owner, TRemoteUdpDataSet& target, const QString& goodsCode) {
    auto* dialog = CreateForm<Tfrm_colorsize>(owner);
    dialog->SetTarget(&target, goodsCode);
    ExecModal(*dialog);
}

}  // namespace md::ui
