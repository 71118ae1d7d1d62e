#pragma once
// 班次信息: the shift row the list has appended or put into edit. Each shift
// time is edited as a day choice (前一天, 当天, 第二天, 第三天) and a clock
// time, and stored as the day's digit followed by HH:mm: 22:00 on the working
// day is 122:00, 06:00 the next morning 206:00.
#include "baseform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class TDataSource;
class TDBEdit;
class TRemoteUdpDataSet;

// One shift time: its day and its clock time.
struct TShiftTimeBox {
    QComboBox* Day = nullptr;
    QTimeEdit* Time = nullptr;

    QString text() const;               // "122:00"
    void setText(const QString& text);  // the first character picks the day
};

class Tfrm_KQ_BanCiEdit : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_BanCiEdit(TDataSource* source, QWidget* owner = nullptr);

    // A new shift: every time 00:00 on 当天, both clockings required, a fixed
    // number of hours.
    void LoadDefaults();
    // The row's times, clocking flags and hours mode into the boxes.
    void LoadRow();

    TDBEdit* Edit_Code;
    TDBEdit* Edit_Name;
    TDBEdit* Edit_Remark;

    TShiftTimeBox SbTime;       // 上班时间 (fsb_time)
    TShiftTimeBox SbTimeB;      // normal clock-in from (fsb_timeb)
    TShiftTimeBox SbTimeE;      // late until (fsb_timee)
    TShiftTimeBox SbMirror[2];  // read-only ends showing the start of work
    QRadioButton* Radio_SbCard;
    QRadioButton* Radio_SbNoCard;
    TDBEdit* Edit_SbIgnore;

    TShiftTimeBox XbTime;   // 下班时间 (fXb_time)
    TShiftTimeBox XbTimeB;  // normal clock-out until (fxb_timeb)
    TShiftTimeBox XbTimeE;  // early from (fxb_timee)
    TShiftTimeBox XbMirror[2];
    QRadioButton* Radio_XbCard;
    QRadioButton* Radio_XbNoCard;
    TDBEdit* Edit_XbIgnore;

    QRadioButton* Radio_ActualHours;
    QRadioButton* Radio_FixedHours;
    TDBEdit* Edit_WorkTime;
    QComboBox* Combo_Kind;  // "0" 正常班次 or an overtime type

    QPushButton* But_Save;
    QPushButton* But_Cancel;

    void Edit_CodeExit();
    void Edit_NameExit();
    void But_SaveClick();
    void But_CancelClick();

  private:
    QWidget* buildInfoGroup();
    QWidget* buildWorkGroup(bool start);
    QWidget* buildHoursGroup();
    TShiftTimeBox timeBox(QWidget* parent, const QString& name, bool readOnly = false);
    void mirror(const TShiftTimeBox& from, TShiftTimeBox* to);
    void refuseTaken(const QString& field, TDBEdit* editor, const QString& message);

    TDataSource* m_source;
    TRemoteUdpDataSet* m_kinds;
    QString m_code;  // as the row came in
    QString m_name;
};
