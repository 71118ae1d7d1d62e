#pragma once
// 客户档案: the clients (agents, franchisees, wholesalers, export customers
// and the company's own shops) as a tree by fid and fparentid, with four
// pages on the right: "列表", a read-only list of the clients shown;
// "详细说明", identity, contact and credit; "辅助说明", invoice, bank,
// opening expense, online ordering and the photo; "其它说明", the market
// survey. The tree, the find and the look-ups show every client, whatever the
// user's client scope.
//
// A top-level client stores the root marker ' ' as its parent. The photo
// (Dt_ClientImage, one JPEG per client code) follows the client only through
// 新增, 修改 and a double-click on the list, and is saved with the client in
// one transaction.
//
// Sources: frm_client.cpp (description: pages, look-ups, keys),
// frm_client_record.cpp (new, edit, checks, save, delete, find, photo).
#include <QPointer>

#include "treeeditor.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBImage;
class TDBLookupComboBox;
class TDBTableView;
class TDBTreeLookupCombo;
class TDataSource;
class TRemoteUpdateSql;
class Tfrm_FindClient;

class Tfrm_client : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_client(QWidget* owner = nullptr);
    ~Tfrm_client() override;

    // The master's statement and the texts of the checks.
    static QString MasterSQL();
    // "select * from dt_client where 1=1 " + the find dialog's conditions + " order by fcode".
    static QString FindSQL(const QString& conditions);
    // The business documents naming a client (the delete check).
    static QString DocumentsSQL(const QString& code);

    // ------------------------------------------------------------ pages
    QTabWidget* PageControl1;  // "列表", "详细说明", "辅助说明", "其它说明"
    QWidget* TabList;
    QWidget* TabDetail;
    QWidget* TabExtra;
    QWidget* TabSurvey;
    TDBGrid* GridList;
    TDBTableView* GridListView;

    // ------------------------------------------------------------ editors of 详细说明
    TDBEdit* Edit_Code;
    TDBEdit* Edit_Abbrev;
    TDBEdit* Edit_Name;
    TDBComboBox* Combo_Mathod;
    TDBComboBox* Combo_Grad;
    TDBComboBox* Combo_PriceType;
    TDBTreeLookupCombo* Lookup_Parent;  // F5 clears it
    TDBEdit* Edit_Area;                 // free text; F6 clears it
    TDBTreeLookupCombo* Lookup_Dept;
    QToolButton* But_Dept;  // "部门资料编辑"
    TDBLookupComboBox* Lookup_Salesman;
    TDBEdit* Edit_Email;
    QLineEdit* Edit_Deposit;  // 保证金: a number box, see frm_client.cpp
    QLineEdit* Edit_Credit;   // 信用额度

    // ------------------------------------------------------------ editors of 辅助说明
    QLineEdit* Edit_TaxRate;  // 发票税率, percent
    QLineEdit* Edit_FirstCharges;
    QLineEdit* Edit_UserId;      // 授权码, read-only
    QPushButton* But_UserId;     // fills 授权码
    TDBEdit* Edit_UserPass;      // masked
    TDBImage* cxDBImage1;        // 客户相片
    QPushButton* But_LoadPhoto;  // "加载相片..."
    QPushButton* But_ClearPhoto;

    // ------------------------------------------------------------ datasets
    TRemoteUpdateSql* ClientUpdateSql;
    TRemoteUdpDataSet* DBparent;    // the parent-client tree
    TRemoteUdpDataSet* DBdept;      // departments
    TRemoteUdpDataSet* DBsalesman;  // monthly-paid employees
    TRemoteUdpDataSet* DBimage;     // the photo of the current client
    TDataSource* DSimage;
    TMasterDetailLink* PhotoLink;

    QAction* userid_action;  // the authorisation-code button's work

    // ------------------------------------------------------------ entry points
    void ShowListPage();
    void ShowDetailPage();
    // The code and short-name boxes' values are confirmed (Enter, leaving the
    // box, or 保存 while they hold a new value).
    void CodeConfirmed();
    void AbbrevConfirmed();
    // "部门资料编辑": the department editor, then the department list again.
    void But_DeptClick();
    // A double-click on the list.
    void GridListDblClick();
    // Gives the client being edited this picture; anything that is no
    // readable picture is refused and the photo kept.
    void AssignPhoto(const QByteArray& bytes);
    void But_LoadPhotoClick();
    void But_ClearPhotoClick();
    // The find dialog, made on first use and kept.
    Tfrm_FindClient* FindDialog();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void PostPendingEdits() override;
    void UpdateActionState() override;
    IReportSource* ReportSource() const override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void cacel_actionExecute() override;
    void del_actionExecute() override;
    void find_actionExecute() override;
    void excel_actionExecute() override;
    void userid_actionExecute();

    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    // Construction (frm_client.cpp).
    void buildListPage();
    void buildDetailPage();
    void buildExtraPage();
    void buildSurveyPage();
    void OpenLists();

    // The record (frm_client_record.cpp).
    QString freshKey(const QString& view);
    void openPhoto(bool forEditing);
    // Shows the page of the editor and gives it the focus.
    void focusEditor(QWidget* editor);
    [[noreturn]] void refuseAt(QWidget* editor, const QString& text);
    // Whether `parentFid` lies in the subtree of the client `fid` (itself included).
    bool insideSubtree(const QString& parentFid, const QString& fid) const;
    void checkNumbers();
    void reloadParents();

    QPointer<Tfrm_FindClient> m_find;
    bool m_confirming = false;  // a check's message is up: leaving the box checks nothing
    bool m_codeTyped = false;   // typed into since last confirmed
    bool m_abbrevTyped = false;
};
