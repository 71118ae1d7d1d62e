#pragma once
// 员工工资项设定: the wage items of each employee. On opening, every employee
// gets each system item he lacks, with amount 0. The chosen employee's items
// are edited as lines with an addition and a deduction column; the stored
// amount is the line's total (增项 − 减项), so a deduction is stored negative
// and a pay is the plain sum of an employee's amounts. Once the employee list
// has had the focus, moving to another employee saves the lines of the one
// left. 确定 saves and closes; 取消 drops what is not saved.
#include "baseform.h"

class QPushButton;
class TDataSource;
class TDBGrid;
class TRemoteUdpDataSet;
class TRemoteUpdateSql;

class Tfrm_KQ_Emp_Wages : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_Emp_Wages(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBEmp;  // the employees
    TDataSource* DSEmp;
    TDBGrid* cxGridEmp;
    TRemoteUdpDataSet* DBWagesItem;  // the items to choose from
    TRemoteUdpDataSet* DBEmpWages;   // the stored rows of the current employee
    TRemoteUpdateSql* EmpWagesUpdateSql;
    TRemoteUdpDataSet* DBLines;  // the lines shown: fAddMoney, fSubMoney, fSumMoney
    TDataSource* DSLines;
    TDBGrid* cxGridWages;
    QPushButton* But_OK;
    QPushButton* But_Cancel;

    // Reads the current employee's stored rows into the lines.
    void LoadLines();
    // Writes the lines to the current employee's rows: one batch of updates
    // (matched by item code) and inserts.
    void SaveLines();
    // Whether a line differs from what is stored.
    bool LinesChanged();

    void But_OKClick();
    void But_CancelClick();

  protected:
    void FormCreate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLines();
    void itemChosen();
    void lineBeforePost();

    bool m_loading = false;
    bool m_employeesFocused = false;  // the employee list has had the focus
};
