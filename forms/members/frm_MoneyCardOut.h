#pragma once
// 现金券发放: the coupons handed to a shop, scanned one after another. A
// barcode scanner types the code and Enter into the barcode box; each scan
// is looked up, and a coupon that may be issued joins the list with the shop
// and handler chosen above it. Problems go to the message line (never a box),
// with the code selected so that the next scan replaces it: the box takes a
// stream of scans without the mouse. The coupon window issues the listed
// coupons after 确定.
#include <QDate>
#include <QDialog>
#include <QList>
#include <QSet>

class QLineEdit;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;
namespace md::ui {
class TLookupCombo;
}

// One scanned coupon and whom it goes to.
struct TIssuedMoneyCard {
    QString fcardno;
    QString fpassword;
    QString fclientcode;
    QString fclientno;  // the shop's dt_client.fid
    QString foutemp;    // the handler
};

class Tfrm_MoneyCardOut : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_MoneyCardOut(QWidget* parent = nullptr);

    TRemoteUdpDataSet* Query_Shop;     // the shops of the drop-down
    md::ui::TLookupCombo* Combo_Shop;  // 领券店铺
    QLineEdit* Edit_Emp;               // 经手人
    QLineEdit* Edit_Barcode;           // 条形码
    QLineEdit* Edit_Message;           // 提示信息
    TRemoteUdpDataSet* Query_Out;      // the scanned coupons (in memory)
    TDataSource* DS_Out;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QPushButton* But_OK;      // 确定
    QPushButton* But_Cancel;  // 取消

    // The shop whose code was chosen last; empty until one is found.
    QString ShopCode, ShopId, ShopName;
    // The handler as last confirmed.
    QString Handler;

    // A code chosen or typed in the shop box: the shop is looked up and remembered.
    void Combo_ShopChange();
    // Enter in the barcode box.
    void Edit_BarcodeEnter();

    QList<TIssuedMoneyCard> Cards() const;

  private:
    void showProblem(const QString& text);

    TRemoteUdpDataSet* m_lookup;
    QSet<QString> m_scanned;  // barcodes in the list, as the database compares them
};
