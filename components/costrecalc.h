#pragma once
// The frame of the two cost recalculations, 参考成本价重算 (the head
// warehouse) and 店铺成本价重算 (one shop). Both value a period from an opening
// stock snapshot to an end date through a server table function, show its
// result read-only, and adopt it into the current costs:
//
//   "计算": the opening date is one of the owner's snapshot dates ("1901-01-01"
//   when it has none). The first time a snapshot date is used, its quantities
//   become opening balances and get the unit cost of the period from the
//   previous balance date up to it; then the function's result for the
//   period from the opening date to the end date is shown.
//   "更新当前成本": every result row's cost is written into the cost table,
//   updating the goods item's row or appending one, in one batch.
//
// A window derives from TCostRecalcForm, adds its own choosers and result
// columns, and gives the statements for its owner (the head warehouse or a shop).
#include <QPointer>
#include <functional>

#include "mdiform.h"

class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QProgressBar;
class TDBGrid;
class TGridColumn;
class TDBTableView;
class TRemoteUdpDataSet;
class TRemoteUpdateSql;

// How a result is adopted into the current costs.
struct TCostAdoption {
    QString targetSQL;                                // the cost rows to update, opened cached
    TRemoteUpdateSql* statements = nullptr;           // how those rows are written
    QString resultField;                              // the result's cost column
    QString costField;                                // the cost column of the rows
    int decimals = -1;                                // the cost column keeps this many; -1: any
    std::function<void(TRemoteUdpDataSet&)> fillNew;  // further fields of an appended row
    QString afterSave;    // runs after the batch, in its transaction; empty: none
    QString doneMessage;  // shown when everything is written
};

class TCostRecalcForm : public Tbase_frmMdi {
    Q_OBJECT
  public:
    TCostRecalcForm(QWidget* owner, const QString& caption);

    QWidget* Panel_top;
    QComboBox* Combo_date;    // "上期结存日期:", a fixed list; Delete clears it
    QDateEdit* DateEdit_end;  // "截止日期:"
    TDBGrid* cxGrid1;
    TDBTableView* cxGrid1DBTableView1;
    QProgressBar* ProgressBar1;
    QAction* cac_action;     // "计算"
    QAction* update_action;  // "更新当前成本"

    void cac_actionExecute();
    void update_actionExecute();

    // The date a chooser offers when the owner has no snapshot, and the one
    // before every balance, from which the first balance is costed.
    static const QString kNoSnapshotDate;  // "1901-01-01"
    static const QString kNoBalanceDate;   // "1910-01-01"

  protected:
    // A read-only result column; the value format shows 0 as an empty cell.
    TGridColumn& AddResultColumn(const QString& field, const QString& caption, int width,
                                 const QString& format);
    static const QString kUnitCost;  // the unit cost's format

    // The row of choosers above the grid; the opening date and end date are on it.
    QHBoxLayout* ChooserRow() const { return m_chooserRow; }
    // Refills the opening date chooser with the stockdate values of the
    // statement, or "1901-01-01" alone when it returns none.
    void FillOpeningDates(const QString& sql);

    // The warehouse or shop whose costs are recalculated; refuses when none is chosen.
    virtual QString RecalcOwner() = 0;
    // Step by step, for the owner and the opening date D (all dates yyyy-MM-dd).
    virtual QString OpeningExistsSQL(const QString& owner, const QString& d) const = 0;
    virtual QString SnapshotTableSQL(const QString& owner, const QString& d) const = 0;
    virtual QString InsertOpeningSQL(const QString& owner, const QString& table,
                                     const QString& d) const = 0;
    virtual QString PreviousDateSQL(const QString& owner, const QString& d) const = 0;
    virtual QString UpdateOpeningSQL(const QString& owner, const QString& p,
                                     const QString& d) const = 0;
    virtual QString ResultSQL(const QString& owner, const QString& d, const QString& e) const = 0;
    virtual TCostAdoption Adoption(const QString& owner) = 0;

    void FormCreate() override;
    bool FormCloseQuery() override;
    bool FormKeyPress(QKeyEvent& event) override;
    void UpdateActionState() override;
    TDBTableView* MasterView() const override { return cxGrid1DBTableView1; }

  private:
    void prepareOpening(const QString& owner, const QString& d);
    void adopt(const TCostAdoption& adoption);
    void writeAdopted(const TCostAdoption& adoption);

    QHBoxLayout* m_chooserRow = nullptr;
    QString m_shownOwner;  // whose result the grid shows
    bool m_adopting = false;
};

namespace md::ui {
// Shows a window that another window opens without waiting for it: as a
// child of the host's multi-document area when the host has one, else as a
// window of its own; brought forward when it is already shown.
void ShowModeless(QWidget& window);
}  // namespace md::ui
