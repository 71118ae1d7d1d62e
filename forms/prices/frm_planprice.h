#pragma once
// 货品参考成本价: the reference cost, tax-inclusive cost and replenishment
// cost of every goods item (planprice), edited in the grid. Left, the goods
// attribute filter with the code box "货号:" and "检索过滤"; in the status bar
// the discount fill ("折扣：", "计  算") for goods without a cost. "自动检索"
// adds every goods item that has no row yet, "导入" reads a pasted cost list
// (Tfrm_PlanPriceAdd) and "重算" opens the recalculation (Tfrm_PlanCac).
#include <QList>

#include "dicteditor.h"
#include "prices/frm_PlanPriceAdd.h"

class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class TCheckTree;
class TField;
class TRemoteUdpDataSet;
class TRemoteUpdateSql;

class Tfrm_planprice : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_planprice(QWidget* owner = nullptr);

    TCheckTree* cxTreeView1;        // the goods attribute filter
    QLineEdit* Edit_goodsid;        // "货号:"
    QPushButton* But_Find;          // "检索过滤"
    QDoubleSpinBox* Edit_discount;  // "折扣："
    QPushButton* But_Cac;           // "计  算"
    TRemoteUpdateSql* PlanUpdateSql;

    // Reopens the list on the attribute filter and the code box.
    void But_FindClick();
    // While editing: every goods item without a cost costs its tag price
    // times the discount. Nothing is sent until "保存".
    void But_CacClick();
    // The "..." of "货号": goods picked in the selection dialog that the list
    // does not hold yet become new rows.
    void fgoodsidButtonClick();

    // The costs of an import list, each row set on the goods item's row or
    // on a new one, sent in one batch; the list is read again. Rows of goods
    // codes that are not goods are refused and change nothing.
    QList<TRefusedCost> ImportCosts(const QList<TPastedCost>& costs);

    // The list's statement for an attribute condition (no column prefix) and a code.
    static QString SearchSQL(const QString& condition, const QString& codeText);

  protected:
    void FormCreate() override;
    // "自动检索".
    void find_actionExecute() override;
    // "导入".
    void first_actionExecute() override;
    // "重算".
    void last_actionExecute() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;
    bool event(QEvent* event) override;

  private:
    void refuseUnsavedChanges() const;
    void reopen(const QString& sql);
    void codeTyped(TField& field);
    void codeChanged(TField& field);
    // Copies the goods item's columns into the current row; clears them when
    // `goods` is empty.
    void fillFromGoods(const TRemoteUdpDataSet& goods);
    bool listedElsewhere(const QString& code) const;
    QString priceFormat() const;

    int m_filling = 0;  // > 0 while the form itself fills rows
};
