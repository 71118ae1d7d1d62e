#pragma once
// Rows pasted from a spreadsheet. Spreadsheet programs put a block of cells on
// the clipboard as text: cells separated by tabs, rows by line breaks, and a
// cell that holds a tab, a line break or a leading quote written in double
// quotes with its own quotes doubled. Import windows read that text here.
#include <QList>
#include <QString>
#include <QStringList>

namespace md {

// The rows of the text, each a list of its cells. Line breaks may be "\r\n",
// "\n" or "\r". The line break that ends the last row starts no row of its
// own, so a copied block comes back with exactly its rows; an empty line
// before it stays an (empty) row. A quote inside an unquoted cell is text.
QList<QStringList> ParsePastedRows(const QString& text, QChar separator = QLatin1Char('\t'));

}  // namespace md
