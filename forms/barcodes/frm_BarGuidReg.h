#pragma once
// 产品序列号注册: a buyer reports the serial and the verification code of a
// piece, and the piece is registered once. A second registration is refused:
// the piece is then doubtful. The window stays open for the next piece.
#include "mdiform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class TRemoteUdpConnection;

namespace md::ui {
class TNullDateEdit;
}

class Tfrm_BarGuidReg : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_BarGuidReg(QWidget* owner = nullptr);

    QLineEdit* Edit_Barcode;          // "产品序列号:"
    QLineEdit* Edit_Code;             // "产品验证码:"
    QComboBox* Combo_Mode;            // "注册方式:"
    md::ui::TNullDateEdit* Date_Reg;  // "注册日期:"
    QPushButton* But_OK;              // "确  定"
    QPushButton* But_Cancel;          // "取  消"

    static const QStringList& Modes();  // "电话注册", "短信注册", "网上注册"

    // Registers the piece on the connection and returns the message for the
    // user. Only a piece not registered yet changes: two workstations
    // registering the same piece at once cannot both succeed.
    static QString Register(TRemoteUdpConnection& connection, const QString& serial,
                            const QString& code, const QString& mode, const QString& date);

    void But_OKClick();

  protected:
    bool FormKeyPress(QKeyEvent& event) override;
};
