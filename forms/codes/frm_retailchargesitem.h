#pragma once
// 零售费用项目: the expense items of shop retail accounts, kept as values of
// the description-value table (ftablename 'OA_SstockAmount').
#include "dicteditor.h"

class Tfrm_RetailChargesItem : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_RetailChargesItem(QWidget* owner = nullptr);

  protected:
    void DBmaster_tableBeforePost() override;
};
