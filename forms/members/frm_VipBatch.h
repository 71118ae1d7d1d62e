#pragma once
// VIP卡批量发放: what a batch of blank cards is issued with: the numbers from
// the start number to the end number, both included, with a prefix and a
// suffix; validity dates, category and the shop that receives the cards.
// The dialog only asks; the member window issues the cards.
#include <QDialog>

class QLineEdit;
class QPushButton;
class TRemoteUdpDataSet;

namespace md::ui {
class TLookupCombo;
class TNullDateEdit;
}  // namespace md::ui

// A batch as the dialog hands it over: every text trimmed, the numbers read.
struct TVipBatchRequest {
    QString beginDate;  // yyyy-MM-dd
    QString endDate;
    QString grade;      // ba_viplb.viplbid
    QString shop;       // dt_client.fcode; empty: no shop
    QString startText;  // as typed: its width is every card number's width
    qint32 first = 0;
    qint32 last = -1;
    QString prefix;
    QString suffix;

    int count() const { return last >= first ? int(qint64(last) - first + 1) : 0; }
    // The card number of `number`: prefix, the last L characters of thirteen
    // zeros followed by the number (L the width of the start text), suffix.
    QString cardNumber(qint32 number) const;
};

class Tfrm_VipBatch : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_VipBatch(QWidget* owner = nullptr);

    md::ui::TNullDateEdit* Date_Begin;   // 生效日期, today to start with
    md::ui::TNullDateEdit* Date_End;     // 失效日期
    md::ui::TLookupCombo* Lookup_Grade;  // VIP类别: id, name, discount
    md::ui::TLookupCombo* Lookup_Shop;   // 领取店铺: the clients with shifts
    QLineEdit* Edit_Begin;               // VIP开始卡号, digits
    QLineEdit* Edit_End;                 // VIP截止卡号, digits, empty to start with
    QLineEdit* Edit_Prefix;              // VIP前缀字母
    QLineEdit* Edit_Suffix;              // VIP后缀字母
    QPushButton* But_OK;
    QPushButton* But_Cancel;

    TRemoteUdpDataSet* DBgrade;  // select viplbid,viplbname,discount from ba_viplb
    TRemoteUdpDataSet* DBshop;   // the clients with shifts: fcode, fname, fmathod

    // Reads the category and shop lists.
    void OpenLists();
    // 确定: the checks in order; the first failing one shows its message,
    // focuses its box and keeps the dialog open. Otherwise ends with OK.
    void But_OKClick();
    // What an accepted dialog asks for.
    const TVipBatchRequest& Request() const { return m_request; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TVipBatchRequest m_request;
};
