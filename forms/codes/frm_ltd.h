#pragma once
// 公司信息: the company's own record, with the national-code prefix (国标码)
// that barcodes are numbered under. Saving and renumbering need the edit right.
#include "recorddialog.h"

class QPushButton;

class Tfrm_ltd : public TRecordDialog {
    Q_OBJECT
  public:
    explicit Tfrm_ltd(QWidget* owner = nullptr);

    QPushButton* But_OK;
    QPushButton* But_Cancel;
    QPushButton* But_UpdateCode;

  protected:
    void FormCreate() override;

  private:
    void refuseWithoutEditRight();
    void But_OKClick();
    void But_CancelClick();
    void But_UpdateCodeClick();
};
