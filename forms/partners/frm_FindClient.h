#pragma once
// 客户资料查找: the client form's find dialog. Text boxes match any part of
// the code, short name, name, contact and telephone; the lists match nature
// and grade exactly. 确定 ends it accepted, 取消 rejected; the client form
// reads the condition of an accepted find.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

class Tfrm_FindClient : public QDialog {
    Q_OBJECT
  public:
    explicit Tfrm_FindClient(QWidget* parent = nullptr);

    QLineEdit* Edit_Code;     // 客户编号
    QLineEdit* Edit_Abbrev;   // 客户简称
    QLineEdit* Edit_Name;     // 客户名称
    QLineEdit* Edit_Contact;  // 联系人
    QLineEdit* Edit_Tel;      // 联系电话
    QComboBox* Combo_Mathod;  // 客户性质
    QComboBox* Combo_Grad;    // 客户等级
    QPushButton* But_OK;      // 确定
    QPushButton* But_Cancel;  // 取消

    // " and ..." for each box that is not empty, in the order of the boxes.
    QString Conditions() const;
};
