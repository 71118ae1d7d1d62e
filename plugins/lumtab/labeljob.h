#pragma once
// A print job: a report file over the rows of a statement, to the printer
// through Qt's preview and print dialogs, or to a PDF file when MD_LABEL_PDF
// names one (no dialog; for tests and benchmarks).
//
// Rows are drawn as the connection delivers them and pages go out as they are
// finished, so a job holds one row and one page whatever its size.
#include <QString>
#include <QVector>

#include "labellayout.h"
#include "labelpainter.h"
#include "rowsink.h"

class QPainter;
class TRemoteUdpConnection;

namespace lumtab {

// What Print_OneTable returns (the module does not read it).
enum JobResult {
    kPrinted = 0,
    kCancelled = 1,  // the user closed the dialog
    kNoRows = 2,     // the statement returned no row
    kReportMissing = -1,
    kReportInvalid = -2,  // the file or the columns it names
    kFailed = -3,         // a database error, or the page device would not open
    kNoConnection = -4,
};

// Above this many labels the preview is skipped: the print dialog comes at
// once (a preview keeps every page it shows).
constexpr qint64 kPreviewLimit = 2000;

// Where the pages of a sheet go.
class PageDevice {
  public:
    virtual ~PageDevice() = default;
    // The painter of the first page; null when the device cannot be opened.
    virtual QPainter* open() = 0;
    virtual void newPage() = 0;
    // Pages outside the range the user asked for are not drawn (0-based).
    virtual bool wantsPage(int page) const {
        Q_UNUSED(page);
        return true;
    }
};

// The labels of a result, one per row, placed across and then down each
// page. Each row is drawn when the next one arrives (the connection writes
// every row into the same space); finish() draws the last.
class LabelSheet : public RowSink {
  public:
    LabelSheet(const LabelLayout& layout, PageDevice& device);

    void setColumns(const QVector<ColumnMeta>& columns) override;
    QVariant* appendRow() override;
    void finish();

    qint64 labels() const { return m_labels; }
    int pagesDrawn() const { return m_pagesDrawn; }
    // A column the report names that the result lacks (nothing is drawn then).
    const QString& missingColumn() const { return m_missingColumn; }
    bool deviceFailed() const { return m_deviceFailed; }

  private:
    void drawPending();

    const LabelLayout& m_layout;
    PageDevice& m_device;
    LabelPainter m_painter;
    QVector<QVariant> m_row;
    bool m_pending = false;
    qint64 m_labels = 0;
    QPainter* m_page = nullptr;
    int m_pageIndex = -1;
    int m_pagesDrawn = 0;
    QString m_missingColumn;
    bool m_deviceFailed = false;
};

// The report file: a path as given, else the name in the program's folder
// (MASTERDATA_HOME when set; the user's data folder for an installed program),
// beside the executable, then among the installed report files. Empty when absent.
QString findReportFile(const QString& name);

// The whole call: messages for a missing or faulty report file and for an
// empty result, the error box for database errors.
int printOneTable(const QString& reportFile, const QString& sql, TRemoteUdpConnection* connection);

}  // namespace lumtab
