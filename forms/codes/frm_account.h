#pragma once
// 资金帐户设置: cash and bank accounts with their opening balances.
#include "dicteditor.h"

class Tfrm_account : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_account(QWidget* owner = nullptr);

  protected:
    void DBmaster_tableNewRecord() override;
};
