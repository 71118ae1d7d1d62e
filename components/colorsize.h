#pragma once
// 单据数量录入: quantities of one goods item typed per colour and size and
// handed to a document window's dataset. Typing a code into "货号:" and
// pressing Enter lists the matching goods; the goods taken from that list
// (double-click, Enter or F3; a search with one result at once) fills the
// quantity grid with one row per colour, its size columns captioned with the
// sizes of the item's size group. "添加[F2]" appends every row that has a
// quantity to the caller's dataset and empties the grid for the next item.
//
// The dialog frees itself when it closes, so each opening starts empty. A
// window that keeps it in a member holds a QPointer, which is null again
// once the dialog has closed:
//
//     QPointer<Tfrm_colorsize> m_quantities;
//     ...
//     if (!m_quantities) m_quantities = md::ui::CreateForm<Tfrm_colorsize>(this);
//     m_quantities->SetTarget(DBdetail_table, currentGoodsCode);
//     md::ui::ExecModal(*m_quantities);  // m_quantities is null afterwards
//
// or, in one call, md::ui::EnterColorSizeQuantities(this, *DBdetail_table, code).
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>

#include "baseform.h"
#include "sizeslots.h"

class QLineEdit;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TField;
class TRemoteUdpDataSet;

class Tfrm_colorsize : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_colorsize(QWidget* owner = nullptr);

    QLineEdit* Edit_goodsid;  // "货号:"
    // The pick list: the goods the code search found (an in-memory table of
    // goodsid, goodsname, brand, ayear, season, sort, unitprice).
    TRemoteUdpDataSet* DBgoods_table;
    TDataSource* DbGoods_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    // The quantity grid: one row per colour of the loaded goods item (an
    // in-memory table of goodsid, colorid, color, size_class, s1 ... s30,
    // fbalancprice, fdiscount and the calculated qty and sumto).
    TRemoteUdpDataSet* DBmaster_table;
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid2;
    TDBTableView* cxGrid2DBTableView1;
    QPushButton* But_Add;    // "添加[F2]"
    QPushButton* But_Close;  // "关闭[F4]"

    // The dataset the quantities go to (it needs the fields fgoodsid, fcolorid
    // and s1 ... s30) and the goods code the box starts with.
    void SetTarget(TRemoteUdpDataSet* target, const QString& goodsCode = QString());
    TRemoteUdpDataSet* Target() const;

    // Enter in "货号:": the goods whose code contains the text fill the pick
    // list; one alone has its colours loaded at once, else the list takes the focus.
    void Edit_goodsidEnter();
    // The pick list's current goods: its colours are loaded and it leaves the list.
    void TakeGoods();
    // One row per colour of the goods code (or goods sort code), the size
    // columns of its size group; quantities typed before are dropped.
    void LoadColors(const QString& goodsCode);
    // "添加[F2]": the rows with a quantity go to the target dataset; then the
    // grid is emptied and "货号:" cleared for the next item.
    void But_AddClick();

    // The sizes the size columns show, in slot order.
    const QStringList& Sizes() const { return m_sizes; }

  protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    void fillPickList(TRemoteUdpDataSet& found);
    void showSizeColumns(const QStringList& sizes);
    void calcRow(TRemoteUdpDataSet& row);
    bool hasQuantity() const;
    // The columns Enter walks through: the shown size columns, then the price.
    QList<int> typedSections() const;
    void focusQuantityCell(int row, int section);
    void moveToNextQuantityCell();
    void moveQuantityRow(int step, bool toFirstSize);

    QPointer<TRemoteUdpDataSet> m_target;
    QStringList m_sizes;
    std::array<TField*, md::kSizeSlotMax> m_slots{};
    TField* m_price = nullptr;
    TField* m_qty = nullptr;
    TField* m_sumto = nullptr;
};

namespace md::ui {
// Runs the quantity entry modally on `target`, "货号:" starting with
// `goodsCode`; the rows the user adds are in `target` when it returns.
void EnterColorSizeQuantities(QWidget* owner, TRemoteUdpDataSet& target,
                              const QString& goodsCode = QString());
}  // namespace md::ui
