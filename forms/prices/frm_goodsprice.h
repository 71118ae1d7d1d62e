#pragma once
// 设定货品价格: the tag price and the six sales price levels of every goods
// item, each level with its discount off the tag price and its gross margin
// over the reference cost. Discounts and margins are calculated fields,
// worked out for a row only when it is shown or read; typing a discount sets
// the level's price. Rows are neither added nor deleted here. Left, the goods
// attribute filter with the goods code box; F7 shows the goods picture.
#include "dicteditor.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TCheckTree;
class TField;
class TRemoteUpdateSql;

class Tfrm_goodsprice : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_goodsprice(QWidget* owner = nullptr);

    static constexpr int kLevels = 6;

    TRemoteUpdateSql* PriceUpdateSql;
    TCheckTree* cxTreeView1;  // the goods attribute filter
    QLineEdit* Edit_goodsid;  // "货号:"
    QPushButton* But_Find;    // "   检   索    "
    QLabel* Label_F7;         // "F7 显示图片"

    // The statement the window opens with.
    static QString BaseSQL();
    // The search's statement for an attribute condition (no column prefix) and a code.
    static QString FilterSQL(const QString& condition, const QString& codeText);
    // To 2 decimal places, ties to even: 0.125 gives 0.12, 0.135 gives 0.14.
    static double RoundCents(double value);
    // The price cells' display format for a number of decimal places ("￥,0.00;￥-,0.00").
    static QString PriceFormat(int decimals);

    void But_FindClick();
    // F7: the picture of the current goods item.
    void ShowPicture();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void DBmaster_tableAfterOpen() override;

  private:
    void bindFields(TRemoteUdpDataSet& ds);
    void calcLevels(TRemoteUdpDataSet& row);
    void writeDiscount(int level, const QVariant& value);

    TField* m_tag = nullptr;
    TField* m_cost = nullptr;
    TField* m_price[kLevels] = {};
    TField* m_discount[kLevels] = {};
    TField* m_margin[kLevels] = {};
};
