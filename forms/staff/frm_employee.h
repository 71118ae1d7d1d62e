#pragma once
// 员工档案: the employees. The department tree on the left filters the list:
// moving through it while it has the focus shows a department's employees
// together with those of its sub-departments. Page "员工列表" lists them;
// page "详细信息" holds every editor of the record, and 新增, 修改 and a
// double-click on the list open it. A new employee belongs to the department
// chosen in the tree and is paid monthly.
#include "dicteditor.h"

class QTabWidget;
class TDBComboBox;
class TDBEdit;
class TDBTreeList;
class TDBTreeLookupCombo;
class TDataSource;
class TFieldPanel;

class Tfrm_employee : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_employee(QWidget* owner = nullptr);

    // The list of a department and its sub-departments.
    static QString DeptFilterSQL(const QString& deptCode);
    // The words of the wage mode (0 "计件", 1 "月度"); empty for anything else.
    static QString WageModeText(const QVariant& mode);

    TRemoteUdpDataSet* DBdept;  // the tree on the left
    TDataSource* DSdept;
    TDBTreeList* dxDBTreeList1;
    TRemoteUdpDataSet* DBdept2;  // the department editor's copy
    TRemoteUdpDataSet* DBetype;
    TRemoteUdpDataSet* DBuser;

    QTabWidget* PageControl1;
    QWidget* TabList;    // "员工列表", holding cxGrid1
    QWidget* TabDetail;  // "详细信息"
    TFieldPanel* DetailPanel;
    TDBEdit* Edit_Code;
    TDBEdit* Edit_Name;
    TDBTreeLookupCombo* Lookup_Dept;
    TDBComboBox* Combo_WageMode;

    void ShowListPage();
    void ShowDetailPage();
    // The tree moved to another department while it had the focus.
    void DeptChanged();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void append_actionExecute() override;
    void edit_actionExecute() override;
    void DBmaster_tableBeforeInsert() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void buildDetailPage();
    void reopen(const QString& sql);
};
