#pragma once
// 供应商报价: each supplier's dated quotes per goods item, material price plus
// making price. The suppliers are listed on the left; the grid on the right
// holds the quotes of the current supplier and takes input only while the
// window is editing ("新增" or "修改" until "保存" or "撤消"). "计  算" prices
// the material of quotes that have none from the tag price and the discount
// in the status bar; "更新至成本价" makes the average quote of every goods item
// its reference cost (planprice) where it has none.
#include "treeeditor.h"

class QDoubleSpinBox;
class QPushButton;
class TDBGrid;
class TDBTableView;
class TDataSource;
class TRemoteUpdateSql;

class Tfrm_SupplierPrice : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_SupplierPrice(QWidget* owner = nullptr);

    // The quotes' statements and the batch of "更新至成本价".
    static QString MasterSQL();
    static QString InsertSQL();
    static QString ModifySQL();
    static QString DeleteSQL();
    static QString CostsSQL();

    TRemoteUdpDataSet* DBsupplier;  // the suppliers of the tree
    TDataSource* DsSupplier;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    TRemoteUpdateSql* PriceUpdateSql;
    QAction* update_action;         // "更新至成本价"
    QDoubleSpinBox* Edit_Discount;  // "折扣："
    QPushButton* But_Cac;           // "计  算"

    // The supplier whose quotes the grid shows; empty when there is none.
    QString SupplierCode() const;
    // "计  算": material prices of 0 become the tag price times the discount.
    void But_CacClick();
    // The goods code cell's "...": a row for every picked goods item not listed yet.
    void fgoodsidButtonClick();

  protected:
    void FormCreate() override;
    void UpdateActionState() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }
    IReportSource* ReportSource() const override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void print_actionExecute() override;
    void excel_actionExecute() override;
    void update_actionExecute();

    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    // 新增 or 修改 was pressed and neither 保存 nor 撤消 since.
    bool editingQuotes() const;
    void goodsValidate(TField& field);
    void goodsChanged(TField& field);
    bool quotedElsewhere(const QString& goods, const QDate& date) const;

    TRemoteUdpDataSet* m_goods;  // the goods item of the code being entered
    int m_filling = 0;           // the window writes a row itself: no look-up
};
