#pragma once
// 仓库资料: the warehouses. The list page shows every warehouse; the detail
// page edits one, its region chosen from the region tree. At most one
// warehouse is the head warehouse (是否总仓): saving one with the flag set
// clears it on all others in the same transaction.
#include "dicteditor.h"

class QTabWidget;
class QToolButton;
class TDBCheckBox;
class TDBComboBox;
class TDBEdit;
class TDBTreeLookupCombo;
class TFieldPanel;

class Tfrm_house : public Tbase_frmDictMdi {
    Q_OBJECT
  public:
    explicit Tfrm_house(QWidget* owner = nullptr);

    QTabWidget* PageControl1;  // "列表", "详细说明"
    QWidget* TabList;
    QWidget* TabDetail;
    TDBGrid* GridList;
    TDBTableView* GridListView;

    TFieldPanel* DetailPanel;
    TDBEdit* CodeEditor;
    TDBEdit* NameEditor;
    TDBTreeLookupCombo* AreaLookup;
    QToolButton* But_Area;  // hint "地区资料编辑"
    TDBCheckBox* HeadCheck;
    TDBComboBox* TypeCombo;

    TRemoteUdpDataSet* DBarea;  // ba_area, the region tree

    void ShowListPage();
    void ShowDetailPage();
    // The region button: the region form, modally; then the regions again.
    void But_AreaClick();
    // Leaving the code editor: a code another warehouse has is refused.
    void CodeEditorExit();

  protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;
    IReportSource* ReportSource() const override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;

    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void buildListPage();
    void buildDetailPage();
    void loadRegions();
    bool codeTaken(const QString& code) const;
};
