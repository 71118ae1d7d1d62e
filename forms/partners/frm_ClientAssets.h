#pragma once
// 店铺固定资产列表: the fixed assets of the shops (counters, mannequins, tills
// ...), one row per asset with its quantity and unit price. The shop code is
// chosen from the shops in the user's client scope; its short name and nature
// come with it. The amount is quantity times price, for display only.
#include "dicteditor.h"

class TField;
class TRemoteUpdateSql;

class Tfrm_ClientAssets : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_ClientAssets(QWidget* owner = nullptr);

    // The shops the code column offers: fcode, fabbrev, fmathod.
    TRemoteUdpDataSet* DBshop_table;
    TRemoteUpdateSql* AssetsUpdateSql;

    // The queries of the shop list and the master in the user's client scope.
    static QString ShopListSQL();
    static QString MasterSQL();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void shopChanged(TField& field);
    void calcAmount(TRemoteUdpDataSet& row);

    TField* m_sumto = nullptr;
    bool m_settingShop = false;
};
