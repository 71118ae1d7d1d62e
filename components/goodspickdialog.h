#pragma once
// The frame of the goods pickers: a modal multi-select list. Left, the goods
// attribute filter with the box "货号:" and "检索过滤"; right, the rows the
// picker's query found, each with the selection mark checkid, and "全选",
// "确定", "取消". A double-click toggles the current row's mark; Enter in
// "货号:" runs the query. A picker adds its grid columns in its constructor,
// then calls FinishGrid(), and says which rows its query reads:
//
//     class Tfrm_selectgoods : public TGoodsPickDialog {
//         QString QuerySQL(const QString& condition, const QString& code) const override;
//     };
//
// The dialog does not free itself when it closes: the caller reads the
// marked rows (CheckedRecords, which keeps answering after OK closed it)
// and then deletes it.
#include <QList>
#include <QString>
#include <QVariantHash>

#include "baseform.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TCheckTree;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class TGoodsPickDialog : public Tbase_frmTop {
    Q_OBJECT
  public:
    TGoodsPickDialog(QWidget* owner, const QString& name, const QString& caption);

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
    // "全选": every row's mark takes the box's state.
    void CheckBox_allClick();
    // A double-click toggles the current row's mark.
    void cxGrid1DBTableView1DblClick();

    // The marked rows in the list's order, each field by its lower-case name.
    QList<QVariantHash> CheckedRecords() const;

    void done(int result) override;

    // " and brand in(<the user's brands>)" and a carriage return, or empty
    // when the user sees every brand.
    static QString BrandScopeCondition();

  protected:
    // The rows for the attribute condition (no column prefix; empty when the
    // tree restricts nothing) and the text of "货号:".
    virtual QString QuerySQL(const QString& condition, const QString& codeText) const = 0;
    // After the columns are added: the grid's options and the rows' height.
    void FinishGrid();

    void FormCreate() override;
    void FormClose() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QList<QVariantHash> m_checkedAtClose;  // what OK chose, once the rows are closed
    bool m_accepted = false;
    bool m_centred = false;
};
