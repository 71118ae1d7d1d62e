#pragma once
// Printing a grid or tree list: a preview of every row under the column
// captions, titled with the window caption, on A4 portrait with margins of
// 12.7 mm and header and footer lines 6.35 mm from the paper's edges. What the
// grid shows is printed: colour swatches before their text and the footer row
// of summaries after the last row, all in one font that has the Chinese
// letters (so no smaller fallback font shows up beside the Latin ones). The
// preview has a "PDF" button, since a workstation may have no printer.
#include <QFont>
#include <QPageLayout>
#include <functional>

class IReportSource;
class QPainter;
class QPrinter;
class QWidget;

namespace md::ui {

constexpr double kReportMarginMm = 12.7;
constexpr double kReportHeaderMm = 6.35;  // distance of the header line from the top edge
constexpr double kReportFooterMm = 6.35;  // distance of the footer line from the bottom edge

// A4 portrait with the report margins.
QPageLayout ReportPageLayout();
// Applies the page layout; the report paints the whole page itself.
void SetupReportPrinter(QPrinter& printer);
// The report's font: Noto Sans CJK SC where installed, else the first family
// that writes Simplified Chinese.
QFont ReportFont(double pointSize = 9);
// Paints every page of the report; returns the number of pages.
int RenderReport(QPrinter& printer, const IReportSource& source, const QString& title);
// The same on any paint device of `resolution` dots per inch whose page is
// `page`; newPage is called before every page but the first.
int PaintReport(QPainter& painter, const QRectF& page, int resolution,
                const std::function<void()>& newPage, const IReportSource& source,
                const QString& title);
// Writes the report to a PDF file; returns the number of pages.
int PrintToPdf(const IReportSource& source, const QString& title, const QString& fileName);
// The modal preview (through ExecModal).
void PrintPreview(const IReportSource& source, const QString& title, QWidget* parent);

}  // namespace md::ui
