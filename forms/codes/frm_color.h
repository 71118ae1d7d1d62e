#pragma once
// 基本颜色设置: the basic colours that goods colours refer to.
#include "dicteditor.h"

class Tfrm_color : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_color(QWidget* owner = nullptr);

  protected:
    void del_actionExecute() override;
};
