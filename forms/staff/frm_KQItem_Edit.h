#pragma once
// 考勤项目编辑: the item row the list has appended or put into edit.
#include "baseform.h"

class QComboBox;
class QPushButton;
class TDataSource;
class TDBComboBox;
class TDBEdit;

class Tfrm_KQItem_Edit : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQItem_Edit(TDataSource* source, QWidget* owner = nullptr);

    TDBEdit* Edit_Code;
    TDBEdit* Edit_Name;
    QComboBox* Combo_Mode;  // 增项 1, 减项 -1
    TDBComboBox* Combo_Unit;
    TDBEdit* Edit_Price;
    QComboBox* Combo_Type;  // 迟到 0, 早退 1, 加班 2, 请假 3
    QPushButton* But_Save;
    QPushButton* But_Cancel;

    void But_SaveClick();
    void But_CancelClick();

  private:
    TDataSource* m_source;
};
