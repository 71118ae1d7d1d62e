#include "rowsink.h"

QVariant* ResultTable::appendRow() {
    const int width = columns.size();
    cells.resize(cells.size() + width);
    ++rowCount;
    return cells.data() + (cells.size() - width);
}

int ResultTable::columnIndex(QStringView name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant ResultTable::value(int row, QStringView columnName) const {
    const int column = columnIndex(columnName);
    return column < 0 || row < 0 || row >= rowCount ? QVariant() : at(row, column);
}
