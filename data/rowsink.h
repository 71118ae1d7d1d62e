#pragma once
#include <QString>
#include <QVariant>
#include <QVector>

#include "tsql/sqltypes.h"

// Where a backend delivers the rows of a result set. The backend asks for the
// space of each row and writes the values straight into it, so that a million
// rows are copied once.
struct ColumnMeta {
    QString name;
    md::sql::SqlType type = md::sql::SqlType::Unknown;
    QString declaredType;  // the column's declared type when the backend knows it
};

class RowSink {
  public:
    virtual ~RowSink() = default;
    // Called once before the first row (also for an empty result).
    virtual void setColumns(const QVector<ColumnMeta>& columns) = 0;
    // Space for one row of columns().size() values, filled by the caller. A null
    // database value is an invalid QVariant; text is QString, integers qlonglong,
    // floats double, blobs QByteArray, dates as the backend gives them.
    virtual QVariant* appendRow() = 0;
};

// A result set kept in memory, for callers that just want the rows.
class ResultTable : public RowSink {
  public:
    QVector<ColumnMeta> columns;
    QVector<QVariant> cells;  // row-major
    int rowCount = 0;

    void setColumns(const QVector<ColumnMeta>& c) override { columns = c; }
    QVariant* appendRow() override;
    const QVariant& at(int row, int column) const { return cells[row * columns.size() + column]; }
    int columnIndex(QStringView name) const;  // any case; -1 when absent
    QVariant value(int row, QStringView columnName) const;
};
