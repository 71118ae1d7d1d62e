// The goods import's input: text as spreadsheets copy or save it, old-format
// .xls workbooks, and the rules for prices and dates in the cells.
#include <freexl.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cmath>

#include "errors.h"
#include "frm_GoodsBathIN.h"
#include "frm_GoodsBathIN_p.h"
#include "inifile.h"

namespace goodsimport {

// ---------------------------------------------------------------- table text

TableTextReader::TableTextReader(QString text, QChar separator)
    : m_text(std::move(text)), m_separator(separator) {}

int TableTextReader::progress() const {
    return m_text.isEmpty() ? 1000 : int(m_pos * 1000 / m_text.size());
}

QStringList TableTextReader::nextRow() {
    QStringList row;
    const QChar* data = m_text.constData();
    const qsizetype size = m_text.size();
    const QChar quote = QLatin1Char('"');
    auto isLineBreak = [](QChar c) { return c == QLatin1Char('\n') || c == QLatin1Char('\r'); };
    auto skipLineBreak = [&] {
        if (data[m_pos] == QLatin1Char('\r') && m_pos + 1 < size && data[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
    };
    while (true) {
        QString cell;
        if (m_pos < size && data[m_pos] == quote) {
            // Quoted: everything up to the closing quote, "" standing for one quote.
            ++m_pos;
            while (m_pos < size) {
                const QChar c = data[m_pos];
                if (c == quote) {
                    if (m_pos + 1 < size && data[m_pos + 1] == quote) {
                        cell += quote;
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                if (c == QLatin1Char('\r') && m_pos + 1 < size && data[m_pos + 1] == '\n') {
                    ++m_pos;  // a line break inside a cell is one '\n'
                    continue;
                }
                cell += c;
                ++m_pos;
            }
        }
        // Unquoted text (or what follows a closing quote) up to the separator.
        const qsizetype start = m_pos;
        while (m_pos < size && data[m_pos] != m_separator && !isLineBreak(data[m_pos])) ++m_pos;
        if (m_pos > start) cell += QStringView(data + start, m_pos - start);
        row << cell;
        if (m_pos >= size) return row;
        if (data[m_pos] == m_separator) {
            ++m_pos;
            continue;
        }
        skipLineBreak();
        return row;
    }
}

QString DecodeCsvBytes(const QByteArray& bytes) {
    // The same rule as the settings files: UTF-8 when the bytes are, else GBK.
    return md::decodeSettingsText(bytes);
}

// ---------------------------------------------------------------- .xls workbooks

namespace {

QString xlsCellText(const FreeXL_CellValue& cell) {
    switch (cell.type) {
        case FREEXL_CELL_INT:
            return QString::number(cell.value.int_value);
        case FREEXL_CELL_DOUBLE: {
            // As the sheet shows a plain number: no exponent, no trailing zeros.
            QString text = QString::number(cell.value.double_value, 'f', 6);
            while (text.contains(QLatin1Char('.')) &&
                   (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
                text.chop(1);
            return text;
        }
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return QString::fromUtf8(cell.value.text_value);
        default:
            return QString();
    }
}

}  // namespace

QList<QStringList> ReadXlsRows(const QString& path) {
    const void* handle = nullptr;
    auto fail = [&](int code) {
        throw EDatabaseError(QStringLiteral("无法读取文件“%1”:不是可以读取的.xls工作簿(错误%2)")
                                 .arg(QDir::toNativeSeparators(path))
                                 .arg(code));
    };
    int rc = freexl_open(QFile::encodeName(path).constData(), &handle);
    if (rc != FREEXL_OK) {
        if (handle) freexl_close(handle);
        fail(rc);
    }
    struct Closer {
        const void* handle;
        ~Closer() { freexl_close(handle); }
    } closer{handle};
    unsigned int rows = 0;
    unsigned short columns = 0;
    if ((rc = freexl_select_active_worksheet(handle, 0)) != FREEXL_OK ||
        (rc = freexl_worksheet_dimensions(handle, &rows, &columns)) != FREEXL_OK)
        fail(rc);
    QList<QStringList> out;
    int used = 0;  // columns up to the last one with text in any row
    for (unsigned int r = 0; r < rows; ++r) {
        QStringList row;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if ((rc = freexl_get_cell_value(handle, r, c, &cell)) != FREEXL_OK) fail(rc);
            row << xlsCellText(cell);
            if (!row.last().isEmpty()) used = qMax(used, int(c) + 1);
        }
        out << row;
    }
    while (!out.isEmpty() && IsBlankRow(out.last())) out.removeLast();
    for (QStringList& row : out) row = row.mid(0, used);
    return out;
}

// ---------------------------------------------------------------- cells

std::optional<double> ParseNumber(const QString& text) {
    QString plain = text.trimmed();
    if (plain.isEmpty()) return 0.0;
    for (const QChar sign : {QChar(0xFFE5), QChar(0x00A5), QChar(QLatin1Char('$'))})
        if (plain.startsWith(sign)) plain = plain.mid(1).trimmed();
    // Thousands separators only between digit groups.
    static const QRegularExpression grouped(QStringLiteral("^-?\\d{1,3}(,\\d{3})+(\\.\\d*)?$"));
    if (grouped.match(plain).hasMatch()) plain.remove(QLatin1Char(','));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<QString> ParseDate(const QString& text) {
    const QString plain = text.trimmed();
    if (plain.isEmpty()) return QString();
    static const QRegularExpression shape(QStringLiteral(
        "^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2})?)?$"));
    static const QRegularExpression compact(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    QRegularExpressionMatch m = shape.match(plain);
    if (!m.hasMatch()) m = compact.match(plain);
    if (!m.hasMatch()) return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString ThreeDigitCode(int number) {
    return QString(QStringLiteral("000") + QString::number(number)).right(3);
}

bool IsBlankRow(const QStringList& cells) {
    for (const QString& cell : cells)
        if (!cell.trimmed().isEmpty()) return false;
    return true;
}

QString TooLongRemark(const QString& caption, int width) {
    return QStringLiteral("%1超过%2个字符").arg(caption).arg(width);
}

QString NotNumberRemark(const QString& caption) {
    return QStringLiteral("%1不是数字").arg(caption);
}

QString NotDateRemark(const QString& caption) {
    return QStringLiteral("%1不是有效日期(年-月-日)").arg(caption);
}

QString ColumnCountRemark(int expected, int found) {
    return QStringLiteral("列数不对:应为%1列,实为%2列").arg(expected).arg(found);
}

}  // namespace goodsimport
