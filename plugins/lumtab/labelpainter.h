#pragma once
// Draws labels: the texts, symbols, lines and boxes of a report file, for one
// result row at a time, on any paint device (PDF, printer, preview, image).
#include <QFont>
#include <QRectF>
#include <QString>
#include <QVector>
#include <memory>

#include "labellayout.h"

class QPainter;
class QPaintDevice;

namespace lumtab {

// A barcode symbol as zint lays it out, in its own units: bars, and the digits
// under them where the symbology prints them.
struct BarcodeSymbol {
    struct Digits {
        QPointF baseline;  // of the text, at its horizontal anchor
        double size = 0;   // font height
        double width = 0;  // room zint leaves for the text; 0: the symbol's width
        int align = 0;     // 0 centre, 1 left, 2 right (as zint)
        QString text;
    };
    QVector<QRectF> bars;
    QVector<Digits> digits;
    QSizeF size;
    QString error;  // why the data makes no symbol; empty when it does

    bool valid() const { return error.isEmpty(); }
};

// The symbol for data: Code 128, EAN-13 (12 digits get their check digit; a
// 13th must be the right one), or Auto: EAN-13 for 12 digits or 13 with a
// right check digit, Code 128 for anything else.
BarcodeSymbol encodeBarcode(const QString& data, Symbology symbology, bool showDigits);

class LabelPainter {
  public:
    explicit LabelPainter(const LabelLayout& layout);
    ~LabelPainter();

    // Finds the columns the report uses in the result. Returns the first one
    // missing, or an empty text when all are there.
    QString bind(const QVector<ColumnMeta>& columns);
    // Before drawing on a device (fonts are measured on it).
    void begin(QPaintDevice& device);
    // One label, its top-left corner at `origin` (millimetres on the page).
    void draw(QPainter& painter, QPointF origin, const QVariant* row);

  private:
    struct ItemState;
    void placeSymbol(ItemState& state, const QString& data);

    std::vector<std::unique_ptr<ItemState>> m_items;
    QPaintDevice* m_device = nullptr;
    double m_dotsPerMm = 1;
};

}  // namespace lumtab
