#include "gridprint.h"

#include <QDate>
#include <QFileDialog>
#include <QFontDatabase>
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

QFont ReportFont(double pointSize) {
    static const QString family = [] {
        const QString preferred = QStringLiteral("Noto Sans CJK SC");
        if (QFontDatabase::hasFamily(preferred)) return preferred;
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        return chinese.isEmpty() ? QString() : chinese.first();
    }();
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}

int RenderReport(QPrinter& printer, const IReportSource& source, const QString& title) {
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const int pages = PaintReport(
        p, printer.pageLayout().fullRectPixels(printer.resolution()), printer.resolution(),
        [&printer] { printer.newPage(); }, source, title);
    p.end();
    return pages;
}

int PaintReport(QPainter& p, const QRectF& page, int resolution,
                const std::function<void()>& newPage, const IReportSource& source,
                const QString& title) {
    const double dpmm = resolution / 25.4;
    const double margin = kReportMarginMm * dpmm;
    const QRectF body = page.adjusted(margin, margin, -margin, -margin);

    const QFont font = ReportFont(9);
    QFont bold = font;
    bold.setBold(true);
    QFont titleFont = ReportFont(14);
    titleFont.setBold(true);
    p.setFont(font);
    const double rowHeight = std::ceil(QFontMetricsF(font, p.device()).height() * 1.5);
    const double titleHeight = std::ceil(QFontMetricsF(titleFont, p.device()).height() * 1.8);

    // Column widths: as on screen, shrunk to the body's width when wider.
    const int columns = source.reportColumnCount();
    QList<double> widths;
    double total = 0;
    for (int c = 0; c < columns; ++c) {
        widths << qMax(1, source.reportWidth(c)) * resolution / 96.0;
        total += widths.last();
    }
    if (total > body.width())
        for (double& w : widths) w *= body.width() / total;

    // The footer row comes after the last row, like one row more.
    const int rows = source.reportRowCount();
    const bool footer = source.reportHasFooter();
    const int lines = rows + (footer ? 1 : 0);
    const int firstPageRows = qMax(1, int((body.height() - titleHeight - rowHeight) / rowHeight));
    const int otherPageRows = qMax(1, int((body.height() - rowHeight) / rowHeight));
    const int pages = lines <= firstPageRows
                          ? 1
                          : 1 + (lines - firstPageRows + otherPageRows - 1) / otherPageRows;

    const QPen gridPen(QColor(128, 128, 128), qMax(1.0, dpmm * 0.15));
    const QColor shade(235, 235, 235);
    const double swatchSide = rowHeight * 0.55;
    // One row of cells; a cell with a swatch shows it before the text, as the grid does.
    const auto paintRow = [&](double y, const std::function<QString(int)>& text,
                              const std::function<QColor(int)>& swatch, bool shaded,
                              const std::function<int(int)>& alignment) {
        double x = body.left();
        if (shaded) p.fillRect(QRectF(x, y, qMin(total, body.width()), rowHeight), shade);
        for (int c = 0; c < columns; ++c) {
            const QRectF cell(x, y, widths[c], rowHeight);
            p.setPen(gridPen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell);
            QRectF room = cell.adjusted(dpmm, 0, -dpmm, 0);
            const QColor colour = swatch ? swatch(c) : QColor();
            if (colour.isValid()) {
                const QRectF square(room.left(), y + (rowHeight - swatchSide) / 2, swatchSide,
                                    swatchSide);
                p.fillRect(square, colour);
                p.drawRect(square);
                room.setLeft(square.right() + dpmm);
            }
            p.setPen(Qt::black);
            p.drawText(room, alignment(c) | Qt::AlignVCenter | Qt::TextSingleLine, text(c));
            x += widths[c];
        }
    };
    const auto sourceAlignment = [&source](int c) { return int(source.reportAlignment(c)); };

    int line = 0;
    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (pageNo > 1) newPage();
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
        paintRow(
            y, [&](int c) { return source.reportCaption(c); }, {}, true,
            [](int) { return int(Qt::AlignHCenter); });
        y += rowHeight;
        const int limit = qMin(lines, line + (pageNo == 1 ? firstPageRows : otherPageRows));
        for (; line < limit; ++line) {
            if (line < rows) {
                p.setFont(font);
                const int row = line;
                paintRow(
                    y, [&](int c) { return source.reportText(row, c); },
                    [&](int c) { return source.reportSwatch(row, c); }, false, sourceAlignment);
            } else {
                p.setFont(bold);
                paintRow(
                    y, [&](int c) { return source.reportFooter(c); }, {}, true, sourceAlignment);
            }
            y += rowHeight;
        }
    }
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
