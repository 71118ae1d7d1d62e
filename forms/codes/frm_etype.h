#pragma once
// 员工类别: employee categories; the name is the key (fid = fName).
#include "dicteditor.h"

class Tfrm_Etype : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_Etype(QWidget* owner = nullptr);

  protected:
    void DBmaster_tableBeforePost() override;
};
