#pragma once
// VIP档案导入: member records pasted from a spreadsheet. "数据核查" checks
// every row and writes what is wrong into its 导入说明; "确定" imports the rows
// that pass, one statement each, and leaves the others in the grid to be
// corrected. Cells hold the pasted text; dates are read as yyyy-MM-dd,
// yyyy/M/d or yyyyMMdd and written back as yyyy-MM-dd when a row is checked.
#include <QHash>

#include "baseform.h"

class QMenu;
class QProgressBar;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class Tfrm_VipCarInput : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tfrm_VipCarInput(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBImport_table;  // the pasted rows, an in-memory table
    TDataSource* DbImport_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QProgressBar* ProgressBar1;
    QPushButton* But_Check;   // "数据核查"
    QPushButton* But_OK;      // "确定"
    QPushButton* But_Cancel;  // "取消"
    QMenu* PopupMenu1;
    QAction* copy_action;       // "复制"
    QAction* paste_action;      // "粘贴"
    QAction* delete_action;     // "删除"
    QAction* selectall_action;  // "全选"

    TRemoteUdpDataSet* DBviplb;   // select * from ba_viplb
    TRemoteUdpDataSet* DBclient;  // select fcode,fabbrev,fname from dt_client

    // Rows of spreadsheet text, from the current cell on; rows beyond the last
    // one are appended.
    void PasteText(const QString& text);
    void But_CheckClick();
    void But_OKClick();
    void But_CancelClick();

    // A date cell as yyyy-MM-dd; empty when the text is no date.
    static QString ImportDate(const QString& text);
    // The insert of the current row, as sent.
    QString InsertStatement() const;

  protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    // The reference lists by folded name, read once per check or import.
    struct Lookups {
        QHash<QString, QString> gradeByName;
        QHash<QString, QString> shopByAbbrev;
        QHash<QString, QString> shopByName;
    };
    Lookups readLookups();
    void dropEmptyLastRow();
    // The row check on the current row: true when it passes.
    bool checkRow(const Lookups& lookups);
    void copyRows();
    void deleteSelectedRows();
};
