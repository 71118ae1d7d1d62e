#pragma once
// 部门资料: the department tree of the company.
#include "treeeditor.h"

class Tfrm_dpt : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_dpt(QWidget* owner = nullptr);

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
};
