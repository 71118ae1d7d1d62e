#pragma once
// 现金券管理[修改]: the coupon window's current row, already put into edit.
// Number, barcode and face value are shown read only; validity, shop,
// handler and the receiver's name and mobile are edited in place. 确定 saves
// the row and sends it, 取消 (or closing) drops the edit and every pending
// change. The dialog frees itself when it closes.
#include <QDialog>

class QLineEdit;
class QPushButton;
class TDataSource;
class TDBDateEdit;
class TDBEdit;
class TDBLookupComboBox;
class TRemoteUdpDataSet;

class Tfrm_MoneyCardEdit : public QDialog {
    Q_OBJECT
  public:
    // source: the coupon window's rows; shops: its shop list (fcode, fabbrev).
    Tfrm_MoneyCardEdit(TDataSource* source, TRemoteUdpDataSet* shops, QWidget* parent = nullptr);

    QLineEdit* Edit_CardNo;         // 现金券编号
    QLineEdit* Edit_Password;       // 现金券条码
    QLineEdit* Edit_Money;          // 面值金额
    TDBDateEdit* Date_Begin;        // 生效日期
    TDBDateEdit* Date_End;          // 失效日期
    TDBLookupComboBox* Combo_Shop;  // 领券店铺
    TDBEdit* Edit_Emp;              // 经手人
    TDBEdit* Edit_Name;             // 领券人姓名
    TDBEdit* Edit_Mobile;           // 领券人手机
    QPushButton* But_OK;            // 确定
    QPushButton* But_Cancel;        // 取消

    void But_OKClick();
    // 取消 and the window's close: the edit and the pending changes go.
    void reject() override;

  private:
    TRemoteUdpDataSet& rows() const;

    TDataSource* m_source;
};
