#pragma once
// 考勤类型编辑: the type row the list has appended or put into edit. A code or
// name another type has is refused as soon as it is entered.
#include "baseform.h"

class QLabel;
class QPushButton;
class TDataSource;
class TDBEdit;

class Tfrm_KQtypeEdit : public Tbase_frm {
    Q_OBJECT
  public:
    // heading: the caption of the button that opened the dialog.
    Tfrm_KQtypeEdit(TDataSource* source, const QString& heading, QWidget* owner = nullptr);

    QLabel* Label_Heading;
    TDBEdit* Edit_Code;
    TDBEdit* Edit_Name;
    TDBEdit* Edit_Remark;
    QPushButton* But_Save;
    QPushButton* But_Cancel;

    void Edit_CodeExit();
    void Edit_NameExit();
    void But_SaveClick();
    void But_CancelClick();

  private:
    // Refuses a value of `field` changed to one another type has.
    void refuseTaken(const QString& field, TDBEdit* editor, const QString& message);

    TDataSource* m_source;
    QString m_code;  // as the row came in
    QString m_name;
};
