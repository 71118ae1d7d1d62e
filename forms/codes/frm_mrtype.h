#pragma once
// 物料类别: the category tree of materials (fabrics, trims, packing).
#include "treeeditor.h"

class Tfrm_MrType : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_MrType(QWidget* owner = nullptr);

  protected:
    void FormCreate() override;
};
