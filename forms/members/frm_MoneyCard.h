#pragma once
// 现金券管理: cash coupons from creation through issue to their use in a shop.
// The list stays empty until "统计" reads the coupons that the filter group
// "过滤条件" selects (by default those valid within this month up to today).
// 新增 makes a batch in the create dialog and stores its free numbers; 发放
// issues the coupons scanned in the issue dialog to a shop; 修改 edits the
// current coupon in the edit dialog; 删除 takes away a coupon not issued yet;
// 导出 writes the list to a workbook.
#include "mdiform.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TDBGrid;
class TDBTableView;
struct TIssuedMoneyCard;
struct TNewMoneyCard;
namespace md::ui {
class TLookupCombo;
}

class Tfrm_MoneyCard : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_MoneyCard(QWidget* owner = nullptr);

    // A date range of the filter: its check box and the two days.
    struct TDateRange {
        QCheckBox* Check = nullptr;
        QDateEdit* From = nullptr;
        QDateEdit* To = nullptr;
    };

    QGroupBox* GroupBox_Filter;          // "过滤条件"
    TDateRange InputDate;                // "生成日期:"  finputdate
    TDateRange OutDate;                  // "发放日期:"  foutdate
    TDateRange ValidDate;                // "有效日期:"  fbegindate / fenddate, checked at start
    TDateRange SaleDate;                 // "消费日期:"  fsaledate
    md::ui::TLookupCombo* Combo_Client;  // 领券店铺
    md::ui::TLookupCombo* Combo_UserClient;  // 消费店铺
    QLineEdit* Edit_CardNo;                  // 礼券编号
    QComboBox* Combo_Status;                 // 礼券状态
    QPushButton* But_Count;                  // "统计"

    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    TRemoteUdpDataSet* DBshop_table;    // shops: fcode, fabbrev
    TRemoteUdpDataSet* DBuser_table;    // users: userno, username
    TRemoteUdpDataSet* DBstatus_table;  // the four statuses and their names (in memory)

    QAction* out_action;  // "发放"

    // The statement of "统计" for the filter as it stands.
    QString QuerySQL() const;
    void But_CountClick();
    void out_actionExecute();

  protected:
    void FormCreate() override;
    void UpdateActionState() override;
    void append_actionExecute() override;
    void edit_actionExecute() override;
    void del_actionExecute() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    void buildFilter(QWidget* parent);
    void buildGrid(QWidget* parent);
    // Appends the free coupons of a created batch and sends them in one batch.
    void storeNewCards(const QList<TNewMoneyCard>& cards);
    // Sends the appended coupons; a barcode that the database already holds
    // (drawn twice by chance) is drawn again and the batch sent once more.
    void sendNewCards();
    void issueCards(const QList<TIssuedMoneyCard>& cards);
};
