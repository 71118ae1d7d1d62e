#pragma once
// 产品序列号维护: the serials found by the goods attribute filter, a goods
// code fragment and a creation date range. Serials can be corrected, deleted
// and their labels printed again: "打印吊牌" prints the rows marked
// "选择打印", through the label report or an external label program.
#include "mdiform.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class TCheckTree;
class TDBGrid;
class TDBTableView;
class TLabelMenu;
class TRemoteUpdateSql;

class Tfrm_BarGuidEdit : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_BarGuidEdit(QWidget* owner = nullptr);

    TCheckTree* CheckTree1;     // the goods attribute filter
    QLineEdit* Edit_GoodsId;    // "货号:"
    QCheckBox* Check_Date;      // "日期选择:"
    QDateEdit* DateEdit_begin;  // joined by "至"
    QDateEdit* DateEdit_end;
    QPushButton* But_Find;  // "统计"
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    TRemoteUpdateSql* GuidUpdateSql;

    QAction* labelprint_action;  // "打印吊牌": the label menu at the mouse
    TLabelMenu* LabelMenu;

    // The grid's statement for the attribute condition, the code box and the
    // date range (dates empty: no date condition).
    static QString SearchSQL(const QString& condition, const QString& codeText,
                             const QString& fromDate, const QString& toDate);

    void But_FindClick();
    void labelprint_actionExecute();
    // A label menu item: the serials of the marked rows go to the local copy,
    // then the report (program 0) or external label program 1..3 prints them.
    void Reprint(int program);

  protected:
    void FormCreate() override;
    void UpdateActionState() override;
    void post_actionExecute() override;
    void del_actionExecute() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    QStringList markedSerials() const;
};
