#pragma once
// 店铺班次设定: the shifts of each shop; the shop list on the left chooses
// whose shifts the grid shows. A client with shifts counts as a shop elsewhere.
#include "dicteditor.h"

class TShopList;

class Tfrm_squad : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_squad(QWidget* owner = nullptr);

    TShopList* ShopList;

  protected:
    void FormCreate() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforeEdit() override;
    void DBmaster_tableBeforePost() override;

  private:
    void showShifts(const QString& shopCode);
};
