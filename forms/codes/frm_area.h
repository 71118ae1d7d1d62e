#pragma once
// 地区资料: the region tree that clients, warehouses and suppliers refer to.
#include "treeeditor.h"

class Tfrm_Area : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_Area(QWidget* owner = nullptr);

  protected:
    void FormShow() override;
    bool FormKeyPress(QKeyEvent& event) override;
};
