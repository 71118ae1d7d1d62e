#pragma once
// 店铺货品成本价: the cost price of goods items in each shop
// (dt_clientplanprice), edited in the grid. The shop is chosen from the shops
// that keep shifts, within the user's client scope; goods codes are typed
// (only codes of goods items) or picked in the goods selection dialog.
// "成本价重算" opens the shop recalculation (Tfrm_ClientPlanPriceCac).
#include "dicteditor.h"

class TField;
class TRemoteUdpDataSet;
class TRemoteUpdateSql;

class Tfrm_ClientPlanPrice : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_ClientPlanPrice(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBshop;  // the shops offered: fcode, fabbrev, fmathod
    TRemoteUpdateSql* CostUpdateSql;
    QAction* cac_action;  // "成本价重算"

    // The "..." of "货号": goods picked in the selection dialog that the list
    // does not hold yet become new rows; the shop is chosen on each row.
    void fgoodsidButtonClick();
    void cac_actionExecute();

    static QString ShopListSQL();
    static QString ListSQL();

  protected:
    void FormCreate() override;
    void post_actionExecute() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableBeforePost() override;

  private:
    void shopTyped(TField& field);
    void goodsTyped(TField& field);
    bool listedElsewhere(const QString& shop, const QString& goods) const;

    int m_filling = 0;  // > 0 while the form itself fills rows
};
