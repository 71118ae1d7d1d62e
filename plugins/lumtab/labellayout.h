#pragma once
// A label report file ("吊牌.frf", "产品序列号.frf"): the paper, how the labels
// sit on it, and what each label shows. The format is described in README.md
// beside this file; sizes are millimetres, font sizes points.
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

struct ColumnMeta;

namespace lumtab {

// A report file that cannot be used; text is the message for the user.
struct ReportError {
    QString text;
};

// A value of a label: literal text with result columns in braces, "{货号}",
// "{吊牌价:2}" (a number with two decimals). "{{" and "}}" are literal braces.
class FieldTemplate {
  public:
    // Empty *error on success; otherwise the reason, in the user's words.
    static FieldTemplate parse(const QString& text, QString* error);

    QStringList columns() const;
    // Finds every column among the result's (any case). Returns the first name
    // that is missing, or an empty text when all are there.
    QString bind(const QVector<ColumnMeta>& columns);
    // The text for one result row, after bind().
    QString render(const QVariant* row) const;
    bool isLiteral() const { return m_parts.size() == 1 && m_parts.front().column.isEmpty(); }

  private:
    struct Part {
        QString literal;  // text before the column (or all of it)
        QString column;   // empty: literal only
        int decimals = -1;
        int index = -1;  // in the result row, after bind()
    };
    QVector<Part> m_parts;
};

// How a value in the result becomes text on a label.
QString displayText(const QVariant& value, int decimals = -1);

enum class Symbology { Code128, Ean13, Auto };

struct LabelItem {
    enum class Kind { Text, Barcode, Line, Box };
    Kind kind = Kind::Text;
    QString name;  // from the section header, for messages
    int line = 0;  // of the section header
    // Millimetres from the label's top-left corner; a line runs from (x, y) to (x2, y2).
    double x = 0, y = 0, width = 0, height = 0, x2 = 0, y2 = 0;
    FieldTemplate value;
    QString font;
    double fontSize = 9;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
    Symbology symbology = Symbology::Auto;
    bool showDigits = true;  // the symbol's digits under its bars
    double pen = 0.2;        // line and box thickness
};

struct LabelLayout {
    QString name;  // the file name as the caller gave it, for messages
    QSizeF page;
    double marginLeft = 0;
    double marginTop = 0;
    int columns = 1;
    int rows = 1;
    QSizeF label;
    double gapX = 0;
    double gapY = 0;
    QString font;
    double fontSize = 9;
    QVector<LabelItem> items;

    int labelsPerPage() const { return columns * rows; }
    // Where the slot-th label of a page lies on it (across, then down).
    QRectF labelRect(int slot) const;

    // Throws ReportError with the file name and the line at fault.
    static LabelLayout parse(const QString& text, const QString& name);
    // Reads the file (UTF-8, or GBK as Chinese Windows editors save it).
    static LabelLayout load(const QString& path, const QString& name);
};

}  // namespace lumtab
