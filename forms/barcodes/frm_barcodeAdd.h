#pragma once
// 条形码生成向导: makes the missing rows of the barcode table in one pass. It
// lists every goods, colour and size without a barcode row, composes barcode 1
// or barcode 2 for them by one of three rules (goods code + colour + size, a
// free pattern with a serial, or the national code), lets the user correct the
// codes in the grid and inserts every listed row on "确定". Opened modally from
// the barcode window's "生成向导".
#include "baseform.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class Tfrm_barcodeAdd : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_barcodeAdd(QWidget* owner = nullptr);

    // The variants without a barcode, shown in the grid; compositions and hand
    // corrections stay cached here until "确定".
    TRemoteUdpDataSet* Query_Check;
    TDataSource* DS_Check;
    TRemoteUdpDataSet* Query_Color;   // barcode_color: fcolorid -> fbarcolorid
    TRemoteUdpDataSet* Query_Size;    // barcode_size: fsize -> fbarcodesize
    TRemoteUdpDataSet* Query_Insert;  // the empty barcode rows the new ones are appended to
    TRemoteUdpDataSet* Query_Temp;

    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;

    // The rule panel "生成规则".
    QGroupBox* GroupBox_Rule;
    QRadioButton* Radio_Rule1;  // "货号+颜色+尺码"
    QRadioButton* Radio_Rule2;  // "万能设置"
    QRadioButton* Radio_Rule3;  // "国标码"
    QLineEdit* Edit_Text1;
    QLineEdit* Edit_Text2;
    QLineEdit* Edit_Text3;
    QComboBox* Combo_Part1;  // "货号", "颜色", "尺码"
    QComboBox* Combo_Part2;
    QComboBox* Combo_Part3;
    QSpinBox* Spin_Digits;  // "流水号(" ... "位数字)"
    QLineEdit* Edit_Prefix;
    QCheckBox* Check_Mapping;  // "使用颜色与尺码对照表"
    QPushButton* But_Color;    // "颜色对照表"
    QPushButton* But_Size;     // "尺码对照表"
    QPushButton* But_Code1;    // "更新条形码1"
    QPushButton* But_Code2;    // "更新条形码2"
    QPushButton* But_OK;       // "确定"
    QPushButton* But_Cancel;   // "取消"
    QProgressBar* ProgressBar1;

    void But_ColorClick();
    void But_SizeClick();
    void But_Code1Click();
    void But_Code2Click();
    void But_OKClick();
    void But_CancelClick();

  protected:
    void FormCreate() override;
    void FormShow() override;
    // No closing while a pass over the rows is running.
    bool FormCloseQuery() override;

  private:
    void buildRulePanel(QWidget* parent);
    void buildGrid(QWidget* parent);
    void buildButtons(QWidget* parent);
    // What a pass over the rows disables: everything that could start another
    // pass or change the rows.
    QList<QWidget*> controls() const;
    // Composes the target column ("fbarcode1" or "fbarcode2") of every listed
    // row that has none yet, by the rule selected.
    void composeCodes(const QString& targetField);

    bool m_busy = false;  // composing or saving
};
