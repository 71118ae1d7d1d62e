#include "gridexport.h"

#include <xlsxwriter.h>

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QUrl>
#include <stdexcept>

#include "reportsource.h"

namespace md::ui {

namespace {

std::function<void(const QString&)>& desktopOpener() {
    static std::function<void(const QString&)> opener;
    return opener;
}

// The spreadsheet number format of a display format ("0.00", "#,##0.00",
// "￥,0.00;￥-,0.00" → "#,##0.00"); empty keeps the cell's general format.
QByteArray numberFormat(const QString& displayFormat) {
    if (displayFormat.isEmpty()) return QByteArray();
    const QString section = displayFormat.section(QLatin1Char(';'), 0, 0);
    const qsizetype dot = section.indexOf(QLatin1Char('.'));
    int decimals = 0;
    for (qsizetype i = dot + 1; dot >= 0 && i < section.size(); ++i)
        if (section[i] == QLatin1Char('0') || section[i] == QLatin1Char('#')) ++decimals;
    QByteArray out = section.contains(QLatin1Char(',')) ? "#,##0" : "0";
    if (decimals > 0) out += '.' + QByteArray(decimals, '0');
    return out;
}

}  // namespace

void ExportToXlsx(const IReportSource& source, const QString& fileName, const QString& sheetName) {
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook* book = workbook_new(path.constData());
    if (!book)
        throw std::runtime_error(QStringLiteral("无法创建文件：%1").arg(fileName).toStdString());
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.toUtf8().constData());
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_align(header, LXW_ALIGN_CENTER);

    const int columns = source.reportColumnCount();
    QList<lxw_format*> numberFormats;
    for (int c = 0; c < columns; ++c) {
        const QByteArray caption = source.reportCaption(c).toUtf8();
        worksheet_write_string(sheet, 0, lxw_col_t(c), caption.constData(), header);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                             qMax(6.0, source.reportWidth(c) / 7.0), nullptr);
        lxw_format* format = nullptr;
        const QByteArray numFormat = numberFormat(source.reportNumberFormat(c));
        if (!numFormat.isEmpty()) {
            format = workbook_add_format(book);
            format_set_num_format(format, numFormat.constData());
        }
        numberFormats << format;
    }
    const int rows = source.reportRowCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QVariant number = source.reportNumber(r, c);
            if (number.isValid()) {
                worksheet_write_number(sheet, lxw_row_t(r + 1), lxw_col_t(c), number.toDouble(),
                                       numberFormats[c]);
                continue;
            }
            const QString text = source.reportText(r, c);
            if (text.isEmpty()) continue;
            worksheet_write_string(sheet, lxw_row_t(r + 1), lxw_col_t(c), text.toUtf8().constData(),
                                   nullptr);
        }
    }
    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(QStringLiteral("导出文件 %1 失败：%2")
                                     .arg(fileName, QString::fromUtf8(lxw_strerror(error)))
                                     .toStdString());
}

QFileDialog* MakeExportDialog(QWidget* parent, const QString& name) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(name);
    dialog->setWindowTitle(QStringLiteral("导出"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDefaultSuffix(QStringLiteral("xlsx"));
    dialog->setNameFilter(QStringLiteral("excel (*.xlsx)"));
    return dialog;
}

void OpenWithDesktop(const QString& fileName) {
    if (desktopOpener())
        desktopOpener()(fileName);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

void SetDesktopOpener(std::function<void(const QString&)> opener) {
    desktopOpener() = std::move(opener);
}

}  // namespace md::ui
