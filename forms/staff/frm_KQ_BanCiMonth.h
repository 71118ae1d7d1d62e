#pragma once
// 选择月份: asks for the month to schedule, then shows the schedule window
// (员工排班表) loaded with it. One schedule window serves every month.
#include "baseform.h"

class QPushButton;
class QSpinBox;
class Tfrm_KQ_EmpBanci;

class Tfrm_KQ_BanCiMonth : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_BanCiMonth(QWidget* owner = nullptr);

    QSpinBox* Spin_Year;   // 年份, 1990 to 2099
    QSpinBox* Spin_Month;  // 月度
    QPushButton* But_OK;
    QPushButton* But_Cancel;

    // The schedule window while it is open; null otherwise.
    static Tfrm_KQ_EmpBanci* ScheduleForm();

    void But_OKClick();
};
