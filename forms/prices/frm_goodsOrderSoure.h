#pragma once
// 货品订货目标: the minimum order quantity of each goods colour. Goods are
// typed or picked with their colours from the goods colour selection dialog;
// a pair is listed once, and picking adds (and saves at once) only the pairs
// not listed yet. Name, colour description and tag price are looked up.
#include "dicteditor.h"

class TField;
class TRemoteUpdateSql;

class Tfrm_goodsOrderSoure : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_goodsOrderSoure(QWidget* owner = nullptr);

    TRemoteUpdateSql* OrderSoureUpdateSql;

    // The selection button of "货号", while the list is being edited.
    void fgoodsidButtonClick();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void goodsChanged(TField& field);
    void colourChanged(TField& field);
    bool pairListedElsewhere(const QString& goods, const QString& colour) const;
};
