#pragma once
// The size editor "尺码资料": size groups and their sizes in a text grid, one
// row per group with its code in column 0 and its k-th size in column k (the
// size slot k). It is not a record editor: it has a toolbar and three states
// of its own, and every save replaces the whole ba_size table, renumbering
// the sizes of each group 1, 2, ... without gaps.
#include "baseform.h"

class QAction;
class QTableWidget;
class QToolBar;

class Tfrm_size : public Tbase_frmTop {
    Q_OBJECT
  public:
    enum TSizeState { ssBrowse, ssEdit, ssInsert };

    explicit Tfrm_size(QWidget* owner = nullptr);

    // The caption under which the window was added to the host's list.
    QString OpenWindowCaption;

    QAction* first_action;  // "尺码": one more size column
    QAction* prio_action;
    QAction* next_action;
    QAction* last_action;
    QAction* append_action;
    QAction* edit_action;
    QAction* post_action;
    QAction* cacel_action;
    QAction* del_action;
    QAction* print_action;
    QAction* excel_action;
    QAction* close_action;

    QToolBar* ToolBar1;
    QTableWidget* StringGrid1;

    // The text grid addressed as a whole: row 0 is the header row, column 0
    // the group codes. The counts include them.
    int ColCount() const;
    int RowCount() const;
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    // The current grid row (1 = first group row).
    int Row() const;

    TSizeState State() const { return m_state; }

  protected:
    void FormCreate() override;
    void FormDestroy() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void PostPendingEdits() override;

    virtual void first_actionExecute();
    virtual void append_actionExecute();
    virtual void edit_actionExecute();
    virtual void post_actionExecute();
    virtual void cacel_actionExecute();
    virtual void del_actionExecute();
    virtual void close_actionExecute();

    // Reads ba_size into the grid.
    void LoadGrid();
    // Enables the toolbar for the current state.
    void UpdateToolbar();

  private:
    void setColCount(int count);
    void setRowCount(int count);
    void addSizeColumn();
    // Enter inside the grid: the next column of the same row, after the last
    // one column 1 again.
    void moveToNextSizeCell();

    TSizeState m_state = ssBrowse;
    bool m_strayIndexReported = false;  // a displayindex beyond the slots is reported once
    md::ui::TOpenWindowListEntry m_openWindowEntry;
};
