#pragma once
// The data grid: a table view over a data source with described columns,
// optional bands above the column header and a footer row with summaries.
//
//     auto* grid = new TDBGrid(panel);                 // "cxGrid1" with view "cxGrid1DBTableView1"
//     TDBTableView* view = grid->View();
//     view->setDataSource(DbMaster_Source);
//     view->AddColumn("fcode", "编号").upperCase();
//     view->AddColumn("fFirstvalue", "期初余额").currency().footer(TSummaryKind::Sum,
//     "合计：0.00"); view->Options().Footer = true;
//
// Without described columns every visible field is shown. The current row
// follows the dataset's current record and the other way round. Cells take
// input only while the record editor says so (SetInputAllowed); writing goes
// through the dataset, which a browsing record enters by the source's Edit().
// Rows have one fixed height and nothing is measured per row, so 100,000 rows
// open as fast as the dataset model resets.
#include <QPointer>
#include <QTableView>

#include "datasource.h"
#include "dictdm.h"
#include "filterdialog.h"
#include "gridcolumn.h"
#include "reportsource.h"

class TRemoteUdpDataSet;
class TGridModel;
class TGridDelegate;
class TGridFooter;
class TBandHeader;

struct TGridViewOptions {
    bool Footer = false;              // footer row with the columns' summaries
    bool GoToNextCellOnEnter = true;  // Enter moves to the next cell (then the next row)
    bool ColumnSorting = false;       // clicking a column header sorts by it
    bool ColumnFiltering = false;     // the header's menu filters by a column
    bool MultiSelect = false;         // several rows can be selected
    bool Clipboard = false;           // Ctrl+C copies the selected rows, Ctrl+V pastes cells
    bool Appending = true;            // Down on the last row appends (while input is allowed)
    bool Inserting = true;            // Insert inserts a record (while input is allowed)
    bool Deleting = true;  // Ctrl+Delete deletes after a question (while input is allowed)
    bool FocusFirstCellOnNewRecord = true;
};

class TDBTableView : public QTableView, public IReportSource {
    Q_OBJECT
  public:
    explicit TDBTableView(const QString& name, QWidget* parent = nullptr);
    ~TDBTableView() override;

    void setDataSource(TDataSource* source);
    TDataSource* DataSource() const { return m_source; }
    TRemoteUdpDataSet* DataSet() const;
    TGridModel* gridModel() const { return m_model; }

    // ------------------------------------------------------------ description
    TGridColumn& AddColumn(const QString& fieldName, const QString& caption);
    TGridColumn* Column(const QString& fieldName) const;  // any case; null when not described
    const QList<TGridColumn*>& Columns() const { return m_columns; }
    int AddBand(const QString& caption);  // returns the band index for TGridColumn::band
    const QStringList& Bands() const { return m_bands; }

    // Options take effect when set through here (or call ApplyOptions after
    // changing Options() directly).
    TGridViewOptions& Options() { return m_options; }
    void ApplyOptions();

    // ------------------------------------------------------------ editing
    void SetInputAllowed(bool allowed);
    bool InputAllowed() const;
    // Writes what the open cell editor holds and closes it.
    void PostEditor();
    // Closes the open cell editor without writing.
    void CancelEditor();

    // ------------------------------------------------------------ find
    // The filter builder; rows not matching are hidden (the dataset's filter).
    void ShowFilterBuilder(const QString& fieldName = QString());
    void ApplyFilter(const QList<TFilterCondition>& conditions);
    void ClearFilter();
    const QList<TFilterCondition>& FilterConditions() const { return m_conditions; }

    // ------------------------------------------------------------ footer, style, clipboard
    QString SummaryText(const TGridColumn& column) const;
    void SetStyle(const TGridStyle& style);
    void CopyToClipboard();
    void PasteFromClipboard();

    // The shown columns (model sections) in screen order.
    QList<int> VisibleSections() const;
    TGridColumn* ColumnOfSection(int section) const;
    int SectionOf(const QString& fieldName) const;  // -1 when the field is not there

    // ------------------------------------------------------------ IReportSource
    int reportColumnCount() const override;
    QString reportCaption(int column) const override;
    int reportWidth(int column) const override;
    Qt::Alignment reportAlignment(int column) const override;
    int reportRowCount() const override;
    QString reportText(int row, int column) const override;
    QVariant reportNumber(int row, int column) const override;
    QString reportNumberFormat(int column) const override;
    QColor reportSwatch(int row, int column) const override;
    bool reportHasFooter() const override;
    QString reportFooter(int column) const override;

  Q_SIGNALS:
    void layoutApplied();   // sections shown, ordered and sized again
    void summariesDirty();  // rows or values changed

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    void applyLayout();
    void syncFromDataSet();
    void onCurrentRowChanged(const QModelIndex& current);
    void moveToNextCell();
    void showHeaderMenu(const QPoint& pos);
    int firstVisibleSection() const;
    bool isNumericSection(int section) const;
    int reportSection(int column) const;

    TGridModel* m_model;
    TGridDelegate* m_delegate;
    QPointer<TDataSource> m_source;
    QList<TGridColumn*> m_columns;
    QStringList m_bands;
    TGridViewOptions m_options;
    QList<TFilterCondition> m_conditions;
    QString m_baseFilter;     // the dataset's own filter when find was first used
    QString m_appliedFilter;  // the filter text find set last
    bool m_syncing = false;
    mutable QList<int> m_reportSections;
};

// The grid control: band header, view and footer.
class TDBGrid : public QWidget {
    Q_OBJECT
  public:
    explicit TDBGrid(QWidget* parent = nullptr, const QString& name = QStringLiteral("cxGrid1"),
                     const QString& viewName = QString());
    TDBTableView* View() const { return m_view; }
    TGridFooter* Footer() const { return m_footer; }
    TBandHeader* BandHeader() const { return m_bandHeader; }

  private:
    void updateParts();

    TDBTableView* m_view;
    TBandHeader* m_bandHeader;
    TGridFooter* m_footer;
};
