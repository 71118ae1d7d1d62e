#pragma once
// What print preview and spreadsheet export read from a grid or tree list:
// the visible columns in screen order with their captions, and every row in
// view (not only the rows on screen) as the cells show them.
#include <QColor>
#include <QString>
#include <QVariant>

class IReportSource {
  public:
    virtual ~IReportSource() = default;
    virtual int reportColumnCount() const = 0;
    virtual QString reportCaption(int column) const = 0;
    virtual int reportWidth(int column) const = 0;  // on screen, pixels
    virtual Qt::Alignment reportAlignment(int column) const = 0;
    virtual int reportRowCount() const = 0;
    // The cell as shown: display format applied, check boxes as "是"/"否".
    virtual QString reportText(int row, int column) const = 0;
    // A number for numeric columns (exports keep numbers as numbers), else invalid.
    virtual QVariant reportNumber(int row, int column) const = 0;
    // The number format the column shows ("0.00"), empty when none.
    virtual QString reportNumberFormat(int column) const = 0;
    // The colour swatch the cell shows before its text; invalid when none.
    virtual QColor reportSwatch(int, int) const { return QColor(); }
    // The footer row under the rows, when the view shows one: each column's
    // summary as shown ("记录数：12"), empty for a column without one.
    virtual bool reportHasFooter() const { return false; }
    virtual QString reportFooter(int) const { return QString(); }
};
