#pragma once
// 供应商类别: supplier categories; the code is also the key (fID = fCode).
#include "dicteditor.h"

class TField;

class Tfrm_Ptype : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_Ptype(QWidget* owner = nullptr);

  protected:
    void DBmaster_tableBeforePost() override;

  private:
    void fCodeValidate(TField& field);
};
