#pragma once
// 商品维修管理: the lines of the repair notes that the filter group
// "条件过滤" selects (by default those of this month up to today), each with
// its way to the factory and back to the client in three bands. The factory
// and client steps of a line are typed in place and written by the line's
// update statement before each query and when the window closes; the notes
// themselves change in the note editor, opened by 新增, 修改 and the three
// step actions (退厂维修, 工厂返回, 维修出仓), and read-only by a double-click.
// 回复 adds a follow-up remark to a line; the remarks of the current line are
// listed below it.
#include <functional>

#include "mdiform.h"
#include "repairs/repairnote.h"

class QAbstractItemDelegate;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSplitter;
class TDBGrid;
class TDBTableView;
class TRemoteUpdateSql;
namespace md::ui {
class TLookupCombo;
}

class Tfrm_GoodsReturnNote : public Tbase_frmMdi {
    Q_OBJECT
  public:
    explicit Tfrm_GoodsReturnNote(QWidget* owner = nullptr);

    QGroupBox* GroupBox1;                  // "条件过滤"
    QDateEdit* Date1;                      // 日  期 from
    QDateEdit* Date2;                      // to
    md::ui::TLookupCombo* Combo_Client;    // 返修客户/店铺
    md::ui::TLookupCombo* Combo_Supplier;  // 厂商编号
    QLineEdit* Edit_GoodsID;               // 货  号 (a fragment)
    QPushButton* But_Count;                // "统计"

    QSplitter* Splitter1;
    TDBGrid* cxGrid1;  // the lines, in the bands 客户往来联, 工厂往来联, 返回客户联
    TDBTableView* cxGrid1DBTableView1;
    TDBGrid* cxGrid2;  // the follow-ups of the current line
    TDBTableView* cxGrid2DBTableView1;

    TRemoteUdpDataSet* DBtran_table;  // the follow-ups of the listed notes
    TDataSource* DbTran_Source;
    TRemoteUdpDataSet* DBclient_table;    // fcode, fabbrev
    TRemoteUdpDataSet* DBsupplier_table;  // fcode, fabbrev
    TRemoteUpdateSql* LineUpdateSql;      // the in-place edits of a line

    QAction* BackSup_action;     // "退厂维修"
    QAction* SupBack_action;     // "工厂返回"
    QAction* BackClient_action;  // "维修出仓"

    // The rights of the three steps, looked up when the window opens.
    bool RightBackSup = false;     // M_BackSup
    bool RightSupBack = false;     // M_SupBack
    bool RightBackClient = false;  // M_BackClient

    // Opens the note editor; true when it closed with OK. Tests put their own in.
    std::function<bool(const QString& billId, md::ui::RepairNoteMode mode)> OpenNote;

    // The where clause of the filter as it stands, and the two statements of 统计.
    QString Conditions() const;
    QString LinesSQL() const;
    QString FollowUpsSQL() const;

    void But_CountClick();
    // 回复 of the current line.
    void fanswerintButtonClick();
    // A double-click on a line: its note, read-only.
    void cxGrid1DBTableView1DblClick();
    void BackSup_actionExecute();
    void SupBack_actionExecute();
    void BackClient_actionExecute();

  protected:
    void FormCreate() override;
    bool FormCloseQuery() override;
    void UpdateActionState() override;
    void append_actionExecute() override;
    void edit_actionExecute() override;
    void DBmaster_tableAfterOpen() override;
    void DBmaster_tableBeforePost() override;
    void DBmaster_tableAfterScroll() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    void buildFilter(QWidget* parent);
    void buildLines(QWidget* parent);
    void buildFollowUps(QWidget* parent);
    // Posts the line being typed and sends the cached edits of the list.
    void sendPendingEdits();
    // Runs the query again and comes back to the line that was current.
    void reload();
    // The editor on the current line's note (or a new note) in the mode; the
    // list is read again when it closes with OK.
    void openNoteFor(md::ui::RepairNoteMode mode, const QString& logWord);
    bool hasLines() const;

    QString m_currentLine;                          // fgoodsbillid whose follow-ups are shown
    QAbstractItemDelegate* m_answerFace = nullptr;  // the 回复 cell drawn as a button
    int m_answerSection = -1;
};
