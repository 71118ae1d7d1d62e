#pragma once
// 库存上下限设置: the upper and lower stock limit of each goods colour, the
// same for every warehouse. Goods and colour are typed or picked from the
// goods colour selection dialog; a pair is listed once.
#include "dicteditor.h"

class TField;
class TRemoteUpdateSql;

class Tfrm_housestockLimit : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_housestockLimit(QWidget* owner = nullptr);

    TRemoteUpdateSql* LimitUpdateSql;

    // The pick button of "货号": while the list is edited, the goods colours
    // chosen in the selection dialog that are not listed yet become new rows.
    void fgoodsidButtonClick();

  protected:
    void FormCreate() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void goodsChanged(TField& field);
    void colourChanged(TField& field);
    // colorname_ch of the row's goods and colour, empty when vgoodscolor has none.
    void nameColour();
    void refuseKeyChangeOfSavedRow();
    bool isNewRow() const;
    bool listedElsewhere(const QString& goods, const QString& colour) const;

    int m_filling = 0;  // > 0 while the form itself fills a row
};
