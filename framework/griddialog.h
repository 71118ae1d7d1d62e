#pragma once
// A modal dialog over one table in a grid: the dataset DBmaster_table (edits
// cached until the form's buttons save or drop them) in the grid cxGrid1, and
// a row of buttons under it. The rows are the table's own: the grid edits
// them but neither adds nor deletes any, and Enter moves between its cells.
//
//     class Tfrm_barsize : public TGridDialog {
//     public:
//         explicit Tfrm_barsize(QWidget* owner = nullptr) : TGridDialog(owner) {
//             setWindowTitle("条形码尺码对照表");
//             DBmaster_table->SetSQL("select * from barcode_size");
//             cxGrid1DBTableView1->AddColumn("fsize", "尺码名称").readOnly();
//             AddButton("But_OK", "确定", [this] { SaveChanges(); });
//         }
//     };
#include <functional>

#include "baseform.h"

class QHBoxLayout;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class TGridDialog : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit TGridDialog(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBmaster_table;  // lock type etBatchOptimistic
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;

    // A button on the bottom row, in the order added; its click runs the
    // handler through the guard.
    QPushButton* AddButton(const QString& name, const QString& caption,
                           std::function<void()> handler);

    // Posts the row being edited, then sends every cached change in one batch.
    void SaveChanges();
    // Drops the row being edited and every cached change.
    void DropChanges();

  protected:
    // Enter in the grid moves to the next cell, elsewhere to the next control.
    bool FormKeyPress(QKeyEvent& event) override;

  private:
    QHBoxLayout* m_buttons;
};
