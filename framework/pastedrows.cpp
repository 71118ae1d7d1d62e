#include "pastedrows.h"

namespace md {

QList<QStringList> ParsePastedRows(const QString& text, QChar separator) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    const QChar quote = QLatin1Char('"');
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool rowOpen = false;  // something of the current row has been read
    auto endCell = [&] {
        row << cell;
        cell.clear();
    };
    auto endRow = [&] {
        endCell();
        rows << row;
        row.clear();
        rowOpen = false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c == quote && cell.isEmpty()) {
            // A quoted cell runs to the quote not doubled; what follows that
            // quote up to the separator is kept as typed.
            qsizetype j = i + 1;
            QString quoted;
            bool closed = false;
            while (j < n) {
                if (text[j] == quote) {
                    if (j + 1 < n && text[j + 1] == quote) {
                        quoted += quote;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                quoted += text[j++];
            }
            if (!closed) {
                // No closing quote: the quote was text, read the cell plainly.
                cell += c;
                ++i;
                rowOpen = true;
                continue;
            }
            cell = quoted;
            i = j;
            rowOpen = true;
            continue;
        }
        if (c == separator) {
            endCell();
            rowOpen = true;
            ++i;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            i += (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
            endRow();
            continue;
        }
        cell += c;
        rowOpen = true;
        ++i;
    }
    if (rowOpen || !cell.isEmpty()) endRow();
    return rows;
}

}  // namespace md
