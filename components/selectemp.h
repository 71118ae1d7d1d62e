#pragma once
// 员工选择: the employee picker. Employees of FN_EmpSelect() narrowed by a
// code fragment, a name fragment, a department and a type, each with its
// selection mark checkid ("选择", or "全选" for all). The shop salesperson
// windows read the marked rows after OK:
//
//     for (const TPickedEmployee& e : md::ui::PickEmployees(this)) ...
//
// The lists (departments, types, employees) open when the dialog is first
// shown, or earlier through OpenLists().
#include <QList>
#include <QString>

#include "baseform.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;
class TTreeLookupCombo;

namespace md::ui {
class TLookupCombo;
}

// One chosen employee, as the dialog's row holds it.
struct TPickedEmployee {
    QString fcode;
    QString fnamech;
    QString fsex;
    QString deptname;
    QString typeName;  // the row's typename
};

class Tfrm_selectEmp : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_selectEmp(QWidget* owner = nullptr);

    // The filter bar; an empty box adds no condition.
    QLineEdit* Edit_code;              // "员工编号"
    QLineEdit* Edit_name;              // "员工姓名"
    TTreeLookupCombo* Lookup_dept;     // "所属部门", v_dept shown by name
    md::ui::TLookupCombo* Combo_type;  // "员工类别", ba_etype shown by name
    QPushButton* But_Find;             // "检索"

    TRemoteUdpDataSet* DBdept;
    TRemoteUdpDataSet* DBtype;
    TRemoteUdpDataSet* DBmaster_table;
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QCheckBox* CheckBox_all;  // "全选"
    QPushButton* But_OK;      // "确定"
    QPushButton* But_Cancel;  // "取消"

    // Opens the three lists once (hourglass meanwhile).
    void OpenLists();
    // "检索": the employees of the filter bar's conditions.
    void But_FindClick();
    // "全选": every row's mark takes the box's state.
    void CheckBox_allClick();

    // The department name the filter bar holds; empty for none.
    QString ChosenDeptName() const;
    // The rows whose checkid is 1, in the list's order.
    QList<TPickedEmployee> CheckedRows() const;

    // The query of "检索" for the filter bar's values.
    static QString FilterSQL(const QString& code, const QString& name, const QString& deptName,
                             const QString& typeName);

    void done(int result) override;

  protected:
    void FormClose() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void openRows(const QString& sql);

    QList<TPickedEmployee> m_checkedAtClose;
    bool m_accepted = false;
    bool m_listsOpen = false;
};

namespace md::ui {
// Runs the picker modally; the chosen employees after OK, none after Cancel.
QList<TPickedEmployee> PickEmployees(QWidget* owner);

// Adds the chosen employees to a shop's salesperson rows (fempcode and the
// shown fnamech, fsex, fdeptname, ftypename), posting each row. A row being
// inserted that has no employee yet takes the first one. With skipAssigned an
// employee already among the rows is left out. Returns how many were added.
int AddSalespersons(TRemoteUdpDataSet& rows, const QList<TPickedEmployee>& chosen,
                    bool skipAssigned);
}  // namespace md::ui
