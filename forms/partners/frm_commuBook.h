#pragma once
// 通讯簿: the company's address book, people grouped by 组别 (suppliers,
// clients, carriers, colleagues ...). Two pages: "列表", every entry in a
// read-only grid, and "详细资料", the entry's personal data and its work and
// home contacts. Entries are numbered 10001 upwards.
#include "treeeditor.h"

class QTabWidget;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBTableView;
class TDBTreeLookupCombo;
class TRemoteUpdateSql;

class Tfrm_commuBook : public Tbase_frmMditree {
    Q_OBJECT
  public:
    explicit Tfrm_commuBook(QWidget* owner = nullptr);

    QTabWidget* PageControl1;  // "列表", "详细资料"
    QWidget* TabList;
    QWidget* TabDetail;
    TDBGrid* GridList;
    TDBTableView* GridListView;

    TRemoteUpdateSql* BookUpdateSql;
    TRemoteUdpDataSet* DBcatery;  // the groups in use
    TRemoteUdpDataSet* DBarea;    // the area tree

    TDBComboBox* Combo_catery;  // 组别: a group in use or a new one
    TDBEdit* Edit_name;
    TDBTreeLookupCombo* AreaLookup;

    void ShowListPage();
    void ShowDetailPage();
    // The number of a new entry: "10001" in an empty book, else the largest
    // fautoid plus 10001.
    QString NextId();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;
    IReportSource* ReportSource() const override;

    void append_actionExecute() override;
    void edit_actionExecute() override;
    void post_actionExecute() override;
    void excel_actionExecute() override;

    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableNewRecord() override;
    void DBmaster_tableBeforePost() override;

  private:
    void buildListPage();
    void buildDetailPage();
    void loadGroups();
};
