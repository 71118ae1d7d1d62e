#pragma once
// 货品颜色选择: a modal multi-select list of goods x colour rows. Left, the
// goods attribute filter with the goods code box and "检索过滤"; right, the
// rows of fn_checkgoodscolor('') in the user's brand scope with the selection
// mark checkid, "全选", "确定" and "取消". A double-click toggles the current
// row's mark. The windows that pick goods colours (stock limits, goods colour
// descriptions, serial numbers, client terms, repairs) read the rows marked
// checkid=1 after OK:
//
//     Tfrm_segoodscolor* dialog = md::ui::CreateForm<Tfrm_segoodscolor>(this);
//     if (md::ui::ExecModal(*dialog) == QDialog::Accepted)
//         for (const TPickedGoodsColor& row : dialog->CheckedRows()) ...
//
// or, in one call, md::ui::PickGoodsColors(this). The dialog does not free
// itself when it closes: the caller deletes it after reading (its owner would
// otherwise free it), and CheckedRows keeps answering after OK closed it.
#include <QList>
#include <QString>

#include "baseform.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TCheckTree;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

// One chosen goods colour, as the dialog's row holds it.
struct TPickedGoodsColor {
    QString goodsid;
    QString goodsname;
    QString colorid;
    QString colorname_ch;
    double unitprice = 0;
};

class Tfrm_segoodscolor : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_segoodscolor(QWidget* owner = nullptr);

    TCheckTree* cxTreeView1;  // the goods attribute filter
    QLineEdit* Edit_goodsid;  // "货号:"
    QPushButton* But_Find;    // "检索过滤"
    TRemoteUdpDataSet* DBmaster_table;
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QCheckBox* CheckBox_all;  // "全选"
    QPushButton* But_OK;      // "确定"
    QPushButton* But_Cancel;  // "取消"

    // The query of the filter and the code box; "全选" and "确定" follow
    // whether it found rows.
    void But_FindClick();
    // The rows whose checkid is 1, in the list's order.
    QList<TPickedGoodsColor> CheckedRows() const;

    // "全选": every row's mark takes the box's state.
    void CheckBox_allClick();
    // A double-click toggles the current row's mark.
    void cxGrid1DBTableView1DblClick();

    // The query of "检索过滤" for an attribute condition (no column prefix)
    // and the code box's text, in the user's brand scope.
    static QString FilterSQL(const QString& condition, const QString& codeText);

    void done(int result) override;

  protected:
    void FormCreate() override;
    void FormClose() override;
    // Enter in "货号:" runs the query; elsewhere it moves to the next control.
    bool FormKeyPress(QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void setAllMarks(bool marked);

    QList<TPickedGoodsColor> m_checkedAtClose;  // what OK chose, once the rows are closed
    bool m_accepted = false;
    bool m_centred = false;
};

namespace md::ui {
// Runs the selection dialog modally; the chosen rows after OK, none after Cancel.
QList<TPickedGoodsColor> PickGoodsColors(QWidget* owner);
}  // namespace md::ui
