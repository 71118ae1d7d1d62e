#pragma once
// 现金券管理[新增]: makes a batch of cash coupons for the coupon window. The
// numbers run from the start to the end serial, each the prefix plus the
// serial's last digits; every coupon gets a fresh barcode from the key view.
// A number already stored, or met twice in the batch (when the digits wrap),
// stays in the list with the remark "此现金券编号已被占用" and is never
// stored. The window reads the rows after 确定.
#include <QDate>
#include <QDialog>
#include <QList>

class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

// One generated coupon as the list holds it.
struct TNewMoneyCard {
    QString fcardno;
    QString fpassword;
    double fmoney = 0;
    QString fbegindate;  // 'yyyy-MM-dd'
    QString fenddate;
    QString fremark;  // "此现金券编号已被占用", or empty for a coupon to store
};

class Tfrm_MoneyCardCreate : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_MoneyCardCreate(QWidget* parent = nullptr);

    QLineEdit* Edit_Prefix;   // 编号前缀
    QLineEdit* Edit_Begin;    // 起始编号
    QLineEdit* Edit_End;      // 截止编号
    QSpinBox* Spin_Digits;    // 编号位数, 3 to 12
    QDateEdit* Date_Begin;    // 生效日期
    QDateEdit* Date_End;      // 失效日期
    QLineEdit* Edit_Money;    // 面值金额
    QPushButton* But_Create;  // 生成
    QProgressBar* ProgressBar1;
    TRemoteUdpDataSet* Query_Card;  // the generated rows (in memory)
    TDataSource* DS_Card;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QPushButton* But_OK;      // 确定
    QPushButton* But_Cancel;  // 取消

    // The number of serial N: the prefix and the last `digits` characters of
    // fifteen zeros followed by N.
    static QString CardNumber(const QString& prefix, qint64 serial, int digits);
    static const QString kOccupied;  // "此现金券编号已被占用"

    // Checks the boxes, asks, then lists the batch (the list is emptied first).
    void But_CreateClick();
    // OK once something was generated.
    void But_OKClick();

    // The listed rows, in order, occupied ones included.
    QList<TNewMoneyCard> Cards() const;

    // 取消 and the window's close: not while a batch is being made.
    void reject() override;

  private:
    bool m_busy = false;  // generating: no closing, no second run
};
