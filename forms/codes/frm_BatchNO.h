#pragma once
// 批号管理: the batch numbers kept for one document table (ba_BatchInfo), a
// modal dialog that document windows open to keep their batches and pick one.
// Batches are edited in the grid; rows are added and deleted only with the
// buttons (or F2, F4). Closing only hides the dialog, so its caller can read
// the chosen row afterwards:
//
//     auto* dialog = md::ui::CreateForm<Tfrm_BatchNO>(this);
//     dialog->OpenForTable("d_order");
//     if (md::ui::ExecModal(*dialog) == QDialog::Accepted) use(dialog->BatchName());
//     delete dialog;
//
// or, in one call, md::ui::ChooseBatch / md::ui::PutChosenBatch below.
#include <QString>
#include <optional>

#include "baseform.h"

class QLabel;
class QPushButton;
class TDataSource;
class TDBGrid;
class TDBTableView;
class TRemoteUdpDataSet;

class Tfrm_BatchNO : public Tbase_frmTop {
    Q_OBJECT
  public:
    explicit Tfrm_BatchNO(QWidget* owner = nullptr);

    TRemoteUdpDataSet* DBmaster_table;  // lock type etBatchOptimistic: edits cached until saved
    TDataSource* DbMaster_Source;
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QLabel* Label_hint;  // "F2 新增    F4 删除"
    QPushButton* But_Add;
    QPushButton* But_Edit;
    QPushButton* But_Del;
    QPushButton* But_Save;
    QPushButton* But_Cancel;
    QPushButton* But_OK;
    QPushButton* But_Close;

    // Shows the batches of the table; new batches are saved under its name.
    void OpenForTable(const QString& tableName);
    const QString& TableName() const { return m_tableName; }
    // fBatchName of the current row; empty when there is none.
    QString BatchName() const;

    void But_AddClick();
    void But_EditClick();
    void But_DelClick();
    void But_SaveClick();
    void But_CancelClick();
    void But_OKClick();
    void But_CloseClick();

  protected:
    void FormCreate() override;
    bool FormKeyPress(QKeyEvent& event) override;
    // The window frame's close button does what "关闭" does.
    void reject() override;

    // The button rule: 保存 and 取消 while there is something to save, the
    // others while no record is being edited; all off until the data is open.
    void UpdateButtons();

  private:
    bool Editing() const;
    void DBmaster_tableNewRecord();
    void DBmaster_tableBeforePost();

    QString m_tableName;
};

namespace md::ui {
// Runs the batch dialog for the table's batches: the batch name of the row
// current when it ended with "确定"; nothing after "关闭" or with no batches.
std::optional<QString> ChooseBatch(QWidget* owner, const QString& tableName);
// The batch button of a document window: ChooseBatch, then, when the window
// is editing, its record takes the chosen batch in `field` (a browsing record
// gets a new record appended for it). True when a batch was put.
bool PutChosenBatch(QWidget* owner, const QString& tableName, TRemoteUdpDataSet& record,
                    bool editing, const QString& field = QStringLiteral("fbatchno"));
}  // namespace md::ui
