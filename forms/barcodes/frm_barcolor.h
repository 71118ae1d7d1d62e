#pragma once
// 条形码颜色对照表: the code each colour takes inside barcodes. Every basic
// colour gets a row mapping it to itself the first time the dialog opens; the
// user changes the mapped codes, "确定" saves them and closes, "取消" drops
// them. The barcode wizard opens it modally.
#include "griddialog.h"

class QPushButton;

class Tfrm_barcolor : public TGridDialog {
    Q_OBJECT
  public:
    explicit Tfrm_barcolor(QWidget* owner = nullptr);

    QPushButton* But_OK;
    QPushButton* But_Cancel;

    // Shows the dialog modally, made on first use and freed when it closes.
    static int Execute(QWidget* owner = nullptr);

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    void But_OKClick();
    void But_CancelClick();
};
