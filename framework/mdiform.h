#pragma once
// Tbase_frmMdi: a window shown as a child of the host's main window, listed
// in the host's open-window list under its caption, with the record editor:
// the edited dataset DBmaster_table behind DbMaster_Source, the actions with
// their captions and toolbar, the state rule that enables them from the
// dataset's state and the user's rights, print preview and export.
//
// Every action's handler is a virtual named after the action
// (append_actionExecute ...). A form overrides it and calls the inherited one
// after its own checks; a check refuses with md::ui::Refuse(text). The
// inherited handler does the work, runs the state rule and then writes the log
// word, so a stopped or failed action writes no log entry.
//
// The master dataset's events arrive at the virtuals DBmaster_table<Event>;
// forms override those rather than assigning the dataset's event members.
#include <initializer_list>

#include "baseform.h"
#include "masterdetail.h"

class QAction;
class QFileDialog;
class QStatusBar;
class QToolBar;
class QVBoxLayout;
class TDataSource;
class TDBTableView;
class IReportSource;

class Tbase_frmMdi : public Tbase_frm {
    Q_OBJECT
  public:
    explicit Tbase_frmMdi(QWidget* owner = nullptr);

    // The caption under which the window was added to the host's list.
    QString OpenWindowCaption;

    TRemoteUdpDataSet* DBmaster_table;  // lock type etBatchOptimistic: edits cached until saved
    TDataSource* DbMaster_Source;

    QAction* first_action;
    QAction* prio_action;
    QAction* next_action;
    QAction* last_action;
    QAction* append_action;
    QAction* edit_action;
    QAction* post_action;
    QAction* cacel_action;
    QAction* del_action;
    QAction* find_action;
    QAction* print_action;
    QAction* excel_action;
    QAction* close_action;

    QToolBar* ToolBar1;
    QWidget* ClientPanel;  // what the editors and forms fill
    QStatusBar* StatusBar1;

    // "Editing" of the state rule: the dataset behind DbMaster_Source is in the
    // edit or insert state and the user has RightAdd.
    bool Editing() const;
    // The export's save dialog, made on first use.
    QFileDialog* SaveDialog1();

    // Declares a detail of DBmaster_table (or of `master`) that follows it and
    // is saved with it; see masterdetail.h. The window owns the link.
    TMasterDetailLink* LinkDetail(TRemoteUdpDataSet* detail,
                                  QList<TMasterDetailLink::FieldPair> pairs,
                                  TRemoteUdpDataSet* master = nullptr);
    const QList<TMasterDetailLink*>& DetailLinks() const { return m_detailLinks; }

    void ShowActions(std::initializer_list<QAction*> actions);
    void HideActions(std::initializer_list<QAction*> actions);
    // Puts the actions on the toolbar in this order; null is a gap.
    void SetToolbar(std::initializer_list<QAction*> actions);

  protected:
    void FormCreate() override;
    void FormDestroy() override;

    // The state rule: after every action and after the master dataset opens.
    virtual void UpdateActionState();

    // Sends the master's cached changes and its WithMaster details (each
    // carrying the master's key) in one transaction; then AfterDetailsCommitted;
    // then the AfterCommit details. A failure in the transaction rolls all of it
    // back, every change stays cached, and the error propagates.
    void SaveRecordAndDetails();
    virtual void AfterDetailsCommitted() {}
    // Drops the details' records being edited and their cached changes.
    void CancelDetails();

    virtual void first_actionExecute();
    virtual void prio_actionExecute();
    virtual void next_actionExecute();
    virtual void last_actionExecute();
    virtual void append_actionExecute();
    virtual void edit_actionExecute();
    virtual void post_actionExecute();
    virtual void cacel_actionExecute();
    virtual void del_actionExecute();
    virtual void find_actionExecute();
    virtual void print_actionExecute();
    virtual void excel_actionExecute();
    virtual void close_actionExecute();

    virtual void DBmaster_tableAfterOpen();
    virtual void DBmaster_tableBeforeInsert() {}
    virtual void DBmaster_tableNewRecord() {}
    virtual void DBmaster_tableAfterInsert() {}
    virtual void DBmaster_tableBeforeEdit() {}
    virtual void DBmaster_tableBeforePost() {}
    virtual void DBmaster_tableAfterPost() {}
    virtual void DBmaster_tableBeforeCancel() {}
    virtual void DBmaster_tableBeforeDelete() {}
    virtual void DBmaster_tableAfterScroll() {}

    // The grid the record editor's find, print, export and input gate use;
    // null when the window has none.
    virtual TDBTableView* MasterView() const { return nullptr; }
    virtual IReportSource* ReportSource() const;

    // The dataset the actions act on (the one behind DbMaster_Source).
    TRemoteUdpDataSet& SourceDataSet() const;

    void showEvent(QShowEvent* event) override;

  private:
    QFileDialog* m_saveDialog = nullptr;
    QList<TMasterDetailLink*> m_detailLinks;
    md::ui::TOpenWindowListEntry m_openWindowEntry;
    bool m_centred = false;
};
