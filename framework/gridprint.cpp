#include "gridprint.h"

#include <QDate>
#include <QFileDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <cmath>

#include "messages.h"
#include "reportsource.h"

namespace md::ui {

QPageLayout ReportPageLayout() {
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
        QPageLayout::Millimeter);
}

void SetupReportPrinter(QPrinter& printer) {
    printer.setPageLayout(ReportPageLayout());
    // The header and footer lie inside the margins, so the report is painted
    // on the full page and keeps to the margins itself.
    printer.setFullPage(true);
}

namespace {

struct Pagination {
    QList<int> firstRows;  // first row of each page
    int rowsOnFirst = 0;
    int rowsPerPage = 0;
};

}  // namespace

int RenderReport(QPrinter& printer, const IReportSource& source, const QString& title) {
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const double dpmm = printer.resolution() / 25.4;
    const QRectF page = printer.pageLayout().fullRectPixels(printer.resolution());
    const double margin = kReportMarginMm * dpmm;
    const QRectF body = page.adjusted(margin, margin, -margin, -margin);

    QFont font = p.font();
    font.setPointSizeF(9);
    QFont bold = font;
    bold.setBold(true);
    QFont titleFont = font;
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    p.setFont(font);
    const double rowHeight = std::ceil(QFontMetricsF(font, &printer).height() * 1.5);
    const double titleHeight = std::ceil(QFontMetricsF(titleFont, &printer).height() * 1.8);

    // Column widths: as on screen, shrunk to the body's width when wider.
    const int columns = source.reportColumnCount();
    QList<double> widths;
    double total = 0;
    for (int c = 0; c < columns; ++c) {
        widths << qMax(1, source.reportWidth(c)) * printer.resolution() / 96.0;
        total += widths.last();
    }
    if (total > body.width())
        for (double& w : widths) w *= body.width() / total;

    const int rows = source.reportRowCount();
    const int firstPageRows = qMax(1, int((body.height() - titleHeight - rowHeight) / rowHeight));
    const int otherPageRows = qMax(1, int((body.height() - rowHeight) / rowHeight));
    const int pages =
        rows <= firstPageRows ? 1 : 1 + (rows - firstPageRows + otherPageRows - 1) / otherPageRows;

    const QPen gridPen(QColor(128, 128, 128), qMax(1.0, dpmm * 0.15));
    int row = 0;
    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (pageNo > 1) printer.newPage();
        double y = body.top();
        // Header and footer lines, 6.35 mm from the edges.
        p.setFont(font);
        p.setPen(Qt::black);
        const double headerY = page.top() + kReportHeaderMm * dpmm;
        const double footerY = page.bottom() - kReportFooterMm * dpmm;
        p.drawText(QRectF(body.left(), headerY, body.width(), rowHeight),
                   Qt::AlignLeft | Qt::AlignTop, title);
        p.drawText(QRectF(body.left(), headerY, body.width(), rowHeight),
                   Qt::AlignRight | Qt::AlignTop,
                   QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        p.drawText(QRectF(body.left(), footerY - rowHeight, body.width(), rowHeight),
                   Qt::AlignHCenter | Qt::AlignBottom,
                   QStringLiteral("第 %1 页，共 %2 页").arg(pageNo).arg(pages));
        if (pageNo == 1) {
            p.setFont(titleFont);
            p.drawText(QRectF(body.left(), y, body.width(), titleHeight), Qt::AlignCenter, title);
            y += titleHeight;
        }
        // Column captions on every page.
        p.setFont(bold);
        double x = body.left();
        p.setPen(gridPen);
        p.fillRect(QRectF(body.left(), y, qMin(total, body.width()), rowHeight),
                   QColor(235, 235, 235));
        for (int c = 0; c < columns; ++c) {
            const QRectF cell(x, y, widths[c], rowHeight);
            p.setPen(gridPen);
            p.drawRect(cell);
            p.setPen(Qt::black);
            p.drawText(cell.adjusted(dpmm, 0, -dpmm, 0), Qt::AlignCenter | Qt::TextSingleLine,
                       source.reportCaption(c));
            x += widths[c];
        }
        y += rowHeight;
        p.setFont(font);
        const int limit = qMin(rows, row + (pageNo == 1 ? firstPageRows : otherPageRows));
        for (; row < limit; ++row) {
            x = body.left();
            for (int c = 0; c < columns; ++c) {
                const QRectF cell(x, y, widths[c], rowHeight);
                p.setPen(gridPen);
                p.drawRect(cell);
                p.setPen(Qt::black);
                p.drawText(cell.adjusted(dpmm, 0, -dpmm, 0),
                           source.reportAlignment(c) | Qt::AlignVCenter | Qt::TextSingleLine,
                           source.reportText(row, c));
                x += widths[c];
            }
            y += rowHeight;
        }
    }
    p.end();
    return pages;
}

int PrintToPdf(const IReportSource& source, const QString& title, const QString& fileName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setDocName(title);
    SetupReportPrinter(printer);
    return RenderReport(printer, source, title);
}

void PrintPreview(const IReportSource& source, const QString& title, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    SetupReportPrinter(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(title);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { RenderReport(*target, source, title); });
    if (auto* toolbar = preview.findChild<QToolBar*>()) {
        QAction* pdf = toolbar->addAction(QStringLiteral("PDF"));
        pdf->setObjectName(QStringLiteral("PdfAction"));
        pdf->setToolTip(QStringLiteral("保存为 PDF 文件"));
        QObject::connect(pdf, &QAction::triggered, &preview, [&] {
            Guard([&] {
                QFileDialog save(&preview, QStringLiteral("保存为 PDF"));
                save.setObjectName(QStringLiteral("PdfSaveDialog"));
                save.setAcceptMode(QFileDialog::AcceptSave);
                save.setOption(QFileDialog::DontUseNativeDialog);
                save.setDefaultSuffix(QStringLiteral("pdf"));
                save.setNameFilter(QStringLiteral("PDF (*.pdf)"));
                if (ExecModal(save) != QDialog::Accepted || save.selectedFiles().isEmpty()) return;
                PrintToPdf(source, title, save.selectedFiles().first());
            });
        });
    }
    preview.resize(900, 700);
    ExecModal(preview);
}

}  // namespace md::ui
