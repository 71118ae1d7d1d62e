#pragma once
// 考勤参数设定: the attendance types, one page per category (加班, 请假, 出差,
// 休假) over one list filtered by the page. Types that come with the system
// can be neither changed nor deleted.
#include "mdiform.h"

class QPushButton;
class QTabWidget;
class TDBGrid;
class TDBTableView;

class Tfrm_KQtype : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_KQtype(QWidget* owner = nullptr);

    // The category of each page, 1 to 4, and the word the list shows for it.
    static QString CategoryName(int category);

    QTabWidget* PageControl1;
    QList<TDBGrid*> Grids;  // one per page
    QList<QPushButton*> AddButtons, EditButtons, DelButtons, ExcelButtons;

    int Category() const;  // of the page shown
    void PageChange();
    void AddClick();
    void EditClick();
    void DelClick();
    void ExcelClick();

  protected:
    void FormCreate() override;
    TDBTableView* MasterView() const override;

  private:
    void buildPage(int category);
    void refuseSystemType();
    void runEditDialog(const QString& heading);
};
