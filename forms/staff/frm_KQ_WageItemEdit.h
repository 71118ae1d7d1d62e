#pragma once
// 工资项目编辑: the wage item the list has appended or put into edit. A code
// or name another item has is refused as soon as it is entered; 保存 sends
// the item at once, 取消 drops every change not yet sent.
#include "baseform.h"

class QComboBox;
class QLabel;
class QPushButton;
class TDataSource;
class TDBCheckBox;
class TDBEdit;
class TDBNumberEdit;

class Tfrm_KQ_WageItemEdit : public Tbase_frm {
    Q_OBJECT
  public:
    // heading: the caption of the button that opened the dialog.
    Tfrm_KQ_WageItemEdit(TDataSource* source, const QString& heading, QWidget* owner = nullptr);

    QLabel* Label_Heading;
    TDBEdit* Edit_Code;
    TDBEdit* Edit_Name;
    QComboBox* Combo_Mode;  // "增项" 1, "减项" -1
    TDBNumberEdit* Edit_Money;
    TDBCheckBox* Check_SaleMoney;
    QPushButton* But_Save;
    QPushButton* But_Cancel;

    void Edit_CodeExit();
    void Edit_NameExit();
    void But_SaveClick();
    void But_CancelClick();

  private:
    // Refuses a value of `field` changed to one another item has.
    void refuseTaken(const QString& field, TDBEdit* editor, const QString& message);
    void refuseAt(QWidget* editor, const QString& message);

    TDataSource* m_source;
    QString m_code;  // as the item came in
    QString m_name;
};
