#pragma once
// 快速排班: fills a range of days of the schedule for the checked employees
// from a weekly pattern (星期一 … 星期日); a day gets the pattern's shift of
// its weekday, an empty pattern day empties the cell, and days before an
// employee joined stay as they are. Made once by the schedule and reused.
#include "baseform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class TDataSource;
class TDBGrid;
class Tfrm_KQ_EmpBanci;
class TRemoteUdpDataSet;

class Tfrm_KQ_QuickPB : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_QuickPB(Tfrm_KQ_EmpBanci* schedule);

    // The weekday words in pattern order, 星期一 first.
    static const QStringList& Weekdays();

    QTreeWidget* Tree_Dept;    // 部门选择
    QLineEdit* Edit_Code;      // 员工编号
    QLineEdit* Edit_Name;      // 员工姓名
    TRemoteUdpDataSet* DBEmp;  // fcheck, fdeptname, fcode, fnamech, fsex, fintime
    TDataSource* DSEmp;
    TDBGrid* cxGrid1;
    QPushButton* But_All;  // 全选
    QSpinBox* Spin_Year;
    QSpinBox* Spin_Month;
    QSpinBox* Spin_DayFrom;
    QSpinBox* Spin_DayTo;
    QComboBox* Combo_Day[7];  // day1 … day7: the pattern, 星期一 … 星期日
    QPushButton* But_PB;      // "排  班"

    // Year and month of the schedule; the range runs from 1 to the number of
    // its day columns.
    void Prepare(int year, int month, const QStringList& dayColumns);
    // The employee list under the filled filters.
    void ReloadEmployees();
    void But_AllClick();
    void But_PBClick();
    // The pattern's shift code for a weekday (1 Monday … 7 Sunday); empty empties.
    QString PatternShift(int weekday) const;
    void SetPatternShift(int weekday, const QString& code);

  protected:
    void FormCreate() override;

  private:
    void fillEmployees(const QString& sql);
    void loadDepartments();

    Tfrm_KQ_EmpBanci* m_schedule;
    QStringList m_dayColumns;
};
