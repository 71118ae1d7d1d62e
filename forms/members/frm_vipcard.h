#pragma once
// VIP会员资料: the member cards of the shops in the user's client scope. The
// list page shows the cards; the detail page edits one. A category chosen for
// a member brings its discount along (shown, not stored). "批量发放" issues a
// range of blank numbered cards to a shop; "批量导入" takes member records
// pasted from a spreadsheet. "导出" opens the member report of the report
// plug-in.
#include <QPointer>
#include <QSet>

#include "dicteditor.h"

class QLineEdit;
class QProgressBar;
class QTabWidget;
class TDBComboBox;
class TDBDateEdit;
class TDBEdit;
class TDBLookupComboBox;
class TFieldPanel;
class TRemoteUpdateSql;
class Tfrm_VipCarInput;
struct TVipBatchRequest;

class Tfrm_vipcard : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_vipcard(QWidget* owner = nullptr);
    ~Tfrm_vipcard() override;

    QTabWidget* PageControl1;  // "VIP会员列表", "VIP会员资料"
    QWidget* TabList;
    QWidget* TabDetail;
    TFieldPanel* DetailPanel;
    TDBEdit* Edit_VipId;
    TDBComboBox* Combo_Grade;  // category by name
    QLineEdit* Edit_Discount;  // the category's discount, read only
    TDBLookupComboBox* Lookup_Shop;
    TDBDateEdit* Date_Begin;
    TDBDateEdit* Date_End;
    TDBComboBox* Combo_Work;  // the occupations stored so far, and new ones
    QProgressBar* ProgressBar1;

    TRemoteUdpDataSet* DBviplb;  // select * from ba_VipLB
    TRemoteUdpDataSet* DBshop;   // every client: fcode, fabbrev, fmathod
    TRemoteUpdateSql* VipUpdateSql;

    QAction* batch_action;  // "批量发放"
    QAction* input_action;  // "批量导入"

    // The master query in the user's client scope.
    static QString MasterSQL();

    void ShowListPage();
    void ShowDetailPage();

    // Issues the cards of the batch that are not there yet, as new rows of the
    // list sent in one batch; returns how many were issued. The cards already
    // there come from one query over the range, not from the list, which the
    // client scope may have narrowed.
    int IssueCards(const TVipBatchRequest& request);
    // The import window, made on first use and kept.
    Tfrm_VipCarInput* ImportForm();

  protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void excel_actionExecute() override;
    void batch_actionExecute();
    void input_actionExecute();

    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;
    void DBmaster_tableAfterPost() override;

  private:
    void buildListPage();
    void buildDetailPage();
    void openLists();
    void gradeChosen(TField& field);
    void showDiscount();
    QSet<QString> existingCards(const TVipBatchRequest& request) const;

    QPointer<Tfrm_VipCarInput> m_import;
    bool m_issuing = false;
};
