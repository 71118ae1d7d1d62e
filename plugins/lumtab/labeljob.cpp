#include "labeljob.h"

#include <QApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <exception>
#include <memory>

#include "messages.h"
#include "remoteudpconnection.h"
#include "routines.h"

namespace lumtab {

// ---- the sheet ----------------------------------------------------------------

LabelSheet::LabelSheet(const LabelLayout& layout, PageDevice& device)
    : m_layout(layout), m_device(device), m_painter(layout) {}

void LabelSheet::setColumns(const QVector<ColumnMeta>& columns) {
    m_row.resize(columns.size());
    m_missingColumn = m_painter.bind(columns);
}

QVariant* LabelSheet::appendRow() {
    if (m_pending) drawPending();
    m_pending = true;
    return m_row.data();
}

void LabelSheet::finish() {
    if (m_pending) drawPending();
    m_pending = false;
}

void LabelSheet::drawPending() {
    const qint64 index = m_labels++;
    if (!m_missingColumn.isEmpty() || m_deviceFailed) return;
    const int page = int(index / m_layout.labelsPerPage());
    const int slot = int(index % m_layout.labelsPerPage());
    if (!m_device.wantsPage(page)) return;
    if (!m_page) {
        m_page = m_device.open();
        if (!m_page) {
            m_deviceFailed = true;
            return;
        }
        m_painter.begin(*m_page->device());
        ++m_pagesDrawn;
    } else if (page != m_pageIndex) {
        m_device.newPage();
        ++m_pagesDrawn;
    }
    m_pageIndex = page;
    m_painter.draw(*m_page, m_layout.labelRect(slot).topLeft(), m_row.data());
}

// ---- page devices -------------------------------------------------------------

namespace {

// The report's paper; a page wider than high is landscape paper.
QPageLayout pageLayoutOf(const LabelLayout& layout) {
    const bool landscape = layout.page.width() > layout.page.height();
    const QPageSize size(landscape ? layout.page.transposed() : layout.page, QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
}

QString documentName(const LabelLayout& layout) {
    return QFileInfo(layout.name).completeBaseName();
}

class PdfPages : public PageDevice {
  public:
    PdfPages(const QString& file, const LabelLayout& layout) : m_file(file), m_layout(layout) {}
    ~PdfPages() override { close(); }

    QPainter* open() override {
        m_writer = std::make_unique<QPdfWriter>(m_file);
        m_writer->setResolution(600);
        m_writer->setPageLayout(pageLayoutOf(m_layout));
        m_writer->setTitle(documentName(m_layout));
        m_writer->setCreator(md::ui::kApplicationName);
        if (!m_painter.begin(m_writer.get())) return nullptr;
        return &m_painter;
    }
    void newPage() override { m_writer->newPage(); }
    void close() {
        if (m_painter.isActive()) m_painter.end();
    }

  private:
    QString m_file;
    const LabelLayout& m_layout;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
};

class PrinterPages : public PageDevice {
  public:
    explicit PrinterPages(QPrinter& printer) : m_printer(printer) {}
    ~PrinterPages() override { close(); }

    QPainter* open() override { return m_painter.begin(&m_printer) ? &m_painter : nullptr; }
    void newPage() override { m_printer.newPage(); }
    bool wantsPage(int page) const override {
        if (m_printer.printRange() != QPrinter::PageRange || m_printer.fromPage() <= 0) return true;
        return page + 1 >= m_printer.fromPage() &&
               (m_printer.toPage() <= 0 || page + 1 <= m_printer.toPage());
    }
    void close() {
        if (m_painter.isActive()) m_painter.end();
    }

  private:
    QPrinter& m_printer;
    QPainter m_painter;
};

// Counts the rows and checks the columns before a dialog opens.
class RowCount : public RowSink {
  public:
    explicit RowCount(const LabelLayout& layout) : m_painter(layout) {}
    void setColumns(const QVector<ColumnMeta>& columns) override {
        m_row.resize(columns.size());
        missingColumn = m_painter.bind(columns);
    }
    QVariant* appendRow() override {
        ++rows;
        return m_row.data();
    }
    qint64 rows = 0;
    QString missingColumn;

  private:
    LabelPainter m_painter;
    QVector<QVariant> m_row;
};

// The normal cursor while the user works in a dialog of ours (the caller shows
// the wait cursor around the whole call).
struct ArrowCursor {
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
};

QString missingColumnText(const LabelLayout& layout, const QString& column) {
    return QStringLiteral("报表文件 %1 用到的列“%2”不在查询结果中").arg(layout.name, column);
}

const QString kNoRowsText = QStringLiteral("没有要打印的记录！");

const QString kPrinterFailedText = QStringLiteral("打印机无法使用，标签没有打印。");

// Draws every label of the statement's rows on the printer; false when the
// printer would not start.
bool paintAll(const LabelLayout& layout, const QString& sql, TRemoteUdpConnection& connection,
              QPrinter& printer) {
    PrinterPages pages(printer);
    LabelSheet sheet(layout, pages);
    connection.OpenSQL(sql, sheet);
    sheet.finish();
    return !sheet.deviceFailed();
}

int printToPdf(const LabelLayout& layout, const QString& sql, TRemoteUdpConnection& connection,
               const QString& file) {
    PdfPages pages(file, layout);
    LabelSheet sheet(layout, pages);
    connection.OpenSQL(sql, sheet);
    sheet.finish();
    pages.close();
    if (!sheet.missingColumn().isEmpty()) {
        md::ui::MessageBox(missingColumnText(layout, sheet.missingColumn()));
        return kReportInvalid;
    }
    if (sheet.deviceFailed()) {
        md::ui::MessageBox(QStringLiteral("无法写入文件：%1").arg(file));
        return kFailed;
    }
    if (sheet.labels() == 0) {
        md::ui::MessageBox(kNoRowsText);
        return kNoRows;
    }
    return kPrinted;
}

int printWithDialog(const LabelLayout& layout, const QString& sql,
                    TRemoteUdpConnection& connection) {
    RowCount count(layout);
    connection.OpenSQL(sql, count);
    if (!count.missingColumn.isEmpty()) {
        md::ui::MessageBox(missingColumnText(layout, count.missingColumn));
        return kReportInvalid;
    }
    if (count.rows == 0) {
        md::ui::MessageBox(kNoRowsText);
        return kNoRows;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutOf(layout));
    printer.setFullPage(true);
    printer.setDocName(documentName(layout));
    ArrowCursor arrow;
    QWidget* parent = QApplication::activeWindow();
    if (count.rows > kPreviewLimit) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(
            QStringLiteral("打印 - %1（%2 张）").arg(documentName(layout)).arg(count.rows));
        if (md::ui::ExecModal(dialog) != QDialog::Accepted) return kCancelled;
        if (paintAll(layout, sql, connection, printer)) return kPrinted;
        md::ui::MessageBox(kPrinterFailedText);
        return kFailed;
    }

    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("打印预览 - %1").arg(documentName(layout)));
    // The preview asks for the pages again after every change of its settings;
    // an error inside its request is shown once the dialog is closed.
    std::exception_ptr failure;
    bool printerFailed = false;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
        if (failure) return;
        try {
            if (!paintAll(layout, sql, connection, *target)) printerFailed = true;
        } catch (...) {
            failure = std::current_exception();
        }
    });
    const int result = md::ui::ExecModal(preview);
    if (failure) std::rethrow_exception(failure);
    if (printerFailed) {
        md::ui::MessageBox(kPrinterFailedText);
        return kFailed;
    }
    return result == QDialog::Accepted ? kPrinted : kCancelled;
}

}  // namespace

QString findReportFile(const QString& name) {
    if (name.isEmpty()) return QString();
    const QFileInfo given(name);
    if (given.isAbsolute()) return given.isFile() ? name : QString();
    // The user's copy first, so a company changes its hang tag without touching
    // the installed one.
    for (const QString& folder : md::CurrentProgramPaths().reportFolders)
        if (QFileInfo(folder + name).isFile()) return folder + name;
    return QString();
}

int printOneTable(const QString& reportFile, const QString& sql, TRemoteUdpConnection* connection) {
    if (!connection || !connection->Connected()) return kNoConnection;
    const QString path = findReportFile(reportFile);
    if (path.isEmpty()) {
        md::ui::MessageBox(QStringLiteral("报表文件不存在：%1").arg(reportFile));
        return kReportMissing;
    }
    try {
        const LabelLayout layout = LabelLayout::load(path, reportFile);
        const QString pdf = qEnvironmentVariable("MD_LABEL_PDF");
        return pdf.isEmpty() ? printWithDialog(layout, sql, *connection)
                             : printToPdf(layout, sql, *connection, pdf);
    } catch (const ReportError& error) {
        md::ui::MessageBox(error.text);
        return kReportInvalid;
    } catch (const std::exception& error) {
        md::ui::ShowError(error);
        return kFailed;
    }
}

}  // namespace lumtab
