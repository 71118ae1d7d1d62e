#pragma once
// 员工排班表: the shift of every employee on every day of one month, one row
// per employee and one column per day ("1日(星期四)"), edited with the shift
// drop-down. 保存 replaces the whole month and closes the window. One
// window serves every month: choosing another month reloads it.
#include "mdiform.h"

class QLabel;
class QPushButton;
class Tfrm_KQ_QuickPB;
class TDBGrid;

class Tfrm_KQ_EmpBanci : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_KQ_EmpBanci(QWidget* owner = nullptr);

    int Year = 0;
    int Month = 0;
    bool Loaded = false;

    QLabel* Label_Title;         // "排班表(年份:2026  月度:12)"
    TDBGrid* cxGrid1;            // made again for every month
    TRemoteUdpDataSet* DBBanci;  // the shifts and "OFF"
    QPushButton* But_Save;
    QPushButton* But_Quick;
    QPushButton* But_Print;
    QPushButton* But_Export;
    QPushButton* But_Close;
    Tfrm_KQ_QuickPB* QuickPB = nullptr;  // made on first use, then kept

    QString Title() const;
    // The names of the day columns, in day order.
    QStringList DayColumns() const;

    void LoadMonth(int year, int month);
    void But_SaveClick();
    void But_QuickClick();

  protected:
    void FormCreate() override;
    void FormDestroy() override;
    void UpdateActionState() override;
    TDBTableView* MasterView() const override;
    void PostPendingEdits() override;
    void print_actionExecute() override;

  private:
    void buildGrid();
};
