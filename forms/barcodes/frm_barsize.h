#pragma once
// 条形码尺码对照表: the code each size takes inside barcodes. Every size gets a
// row mapping it to itself the first time the dialog opens. "确定" saves the
// changes and keeps the dialog open, "取消" drops them and closes;
// "更新本地数据库" copies the mapping to the local database, where the label
// programs on the workstation read it. The barcode wizard opens it modally.
#include "griddialog.h"

class QPushButton;

class Tfrm_barsize : public TGridDialog {
    Q_OBJECT
  public:
    explicit Tfrm_barsize(QWidget* owner = nullptr);

    QPushButton* But_Local;  // "更新本地数据库"
    QPushButton* But_OK;
    QPushButton* But_Cancel;

    // Shows the dialog modally, made on first use and freed when it closes.
    static int Execute(QWidget* owner = nullptr);

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    void But_LocalClick();
    void But_OKClick();
    void But_CancelClick();
};
