#include "labelpainter.h"

#include <zint.h>

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "rowsink.h"

namespace lumtab {

namespace {

bool isDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The EAN-13 check digit of twelve digits.
QChar ean13CheckDigit(const QString& twelve) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (twelve.at(i).unicode() - '0') * (i % 2 ? 3 : 1);
    return QChar('0' + (10 - sum % 10) % 10);
}

bool looksLikeEan13(const QString& data) {
    if (!isDigits(data)) return false;
    if (data.size() == 12) return true;
    return data.size() == 13 && ean13CheckDigit(data.left(12)) == data.at(12);
}

struct ZintSymbol {
    zint_symbol* symbol = ZBarcode_Create();
    ~ZintSymbol() { ZBarcode_Delete(symbol); }
};

}  // namespace

BarcodeSymbol encodeBarcode(const QString& data, Symbology symbology, bool showDigits) {
    BarcodeSymbol result;
    if (symbology == Symbology::Auto)
        symbology = looksLikeEan13(data) ? Symbology::Ean13 : Symbology::Code128;
    if (symbology == Symbology::Ean13 &&
        !(isDigits(data) && data.size() >= 12 && data.size() <= 13)) {
        result.error = QStringLiteral("EAN-13 须为 12 或 13 位数字");
        return result;
    }
    ZintSymbol z;
    if (!z.symbol) {
        result.error = QStringLiteral("内存不足");
        return result;
    }
    z.symbol->symbology = symbology == Symbology::Ean13 ? BARCODE_EANX : BARCODE_CODE128;
    z.symbol->show_hrt = showDigits ? 1 : 0;
    // Bars 30 modules high instead of zint's 50: the digits get a readable
    // share of a small box.
    z.symbol->height = 30;
    z.symbol->input_mode = UNICODE_MODE;
    const QByteArray bytes = data.toUtf8();
    int rc = ZBarcode_Encode(z.symbol, reinterpret_cast<const unsigned char*>(bytes.constData()),
                             int(bytes.size()));
    if (rc < ZINT_ERROR) rc = ZBarcode_Buffer_Vector(z.symbol, 0);
    if (rc >= ZINT_ERROR || !z.symbol->vector) {
        result.error = QString::fromUtf8(z.symbol->errtxt);
        if (result.error.isEmpty()) result.error = QStringLiteral("无法生成条码");
        return result;
    }
    const zint_vector* vector = z.symbol->vector;
    result.size = QSizeF(vector->width, vector->height);
    for (const zint_vector_rect* r = vector->rectangles; r; r = r->next)
        result.bars.push_back(QRectF(r->x, r->y, r->width, r->height));
    for (const zint_vector_string* s = vector->strings; s; s = s->next)
        result.digits.push_back({QPointF(s->x, s->y), s->fsize, s->width, s->halign,
                                 QString::fromUtf8(reinterpret_cast<const char*>(s->text))});
    return result;
}

// What drawing an item needs beyond the file: its font measured on the device,
// and for symbols the last one made (the tags of one variant follow each other).
struct LabelPainter::ItemState {
    const LabelItem* item = nullptr;
    FieldTemplate value;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;

    QString symbolData;
    bool hasSymbol = false;
    QVector<QRectF> bars;  // device units from the item's corner
    struct PlacedDigits {
        QPointF baseline;
        QFont font;
        QString text;
    };
    QVector<PlacedDigits> digits;
    QString symbolError;
};

LabelPainter::LabelPainter(const LabelLayout& layout) {
    for (const LabelItem& item : layout.items) {
        auto state = std::make_unique<ItemState>();
        state->item = &item;
        state->value = item.value;
        m_items.push_back(std::move(state));
    }
}

LabelPainter::~LabelPainter() = default;

QString LabelPainter::bind(const QVector<ColumnMeta>& columns) {
    for (auto& state : m_items) {
        const QString missing = state->value.bind(columns);
        if (!missing.isEmpty()) return missing;
    }
    return QString();
}

void LabelPainter::begin(QPaintDevice& device) {
    m_device = &device;
    m_dotsPerMm = device.logicalDpiX() / 25.4;
    for (auto& state : m_items) {
        const LabelItem& item = *state->item;
        state->font = QFont(item.font);
        state->font.setPointSizeF(item.fontSize);
        state->font.setBold(item.bold);
        state->font.setHintingPreference(QFont::PreferNoHinting);
        state->metrics = std::make_unique<QFontMetricsF>(state->font, &device);
        state->hasSymbol = false;  // placed for this device's resolution
    }
}

void LabelPainter::draw(QPainter& painter, QPointF origin, const QVariant* row) {
    const double k = m_dotsPerMm;
    for (auto& state : m_items) {
        const LabelItem& item = *state->item;
        const QPointF corner((origin.x() + item.x) * k, (origin.y() + item.y) * k);
        switch (item.kind) {
            case LabelItem::Kind::Text: {
                QString text = state->value.render(row);
                if (text.isEmpty()) break;
                const QFontMetricsF& fm = *state->metrics;
                double x = corner.x();
                double y = corner.y() + fm.ascent();
                if (item.width > 0) {
                    const double room = item.width * k;
                    double advance = fm.horizontalAdvance(text);
                    if (advance > room) {
                        text = fm.elidedText(text, Qt::ElideRight, room);
                        advance = fm.horizontalAdvance(text);
                    }
                    if (item.align & Qt::AlignHCenter) x += (room - advance) / 2;
                    if (item.align & Qt::AlignRight) x += room - advance;
                }
                if (item.height > 0) y += (item.height * k - fm.height()) / 2;
                painter.setFont(state->font);
                painter.setPen(Qt::black);
                painter.drawText(QPointF(x, y), text);
                break;
            }
            case LabelItem::Kind::Barcode: {
                const QString data = state->value.render(row).trimmed();
                if (data.isEmpty()) break;
                if (!state->hasSymbol || state->symbolData != data) placeSymbol(*state, data);
                if (!state->symbolError.isEmpty()) {
                    // The data itself where the symbol should be: a person sees what is wrong.
                    painter.setFont(state->font);
                    painter.setPen(Qt::black);
                    painter.drawText(QRectF(corner, QSizeF(item.width * k, item.height * k)),
                                     Qt::AlignCenter, data);
                    break;
                }
                painter.translate(corner);
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::black);
                painter.drawRects(state->bars);
                painter.setPen(Qt::black);
                for (const ItemState::PlacedDigits& digits : state->digits) {
                    painter.setFont(digits.font);
                    painter.drawText(digits.baseline, digits.text);
                }
                painter.translate(-corner);
                break;
            }
            case LabelItem::Kind::Line:
                painter.setPen(QPen(Qt::black, item.pen * k));
                painter.drawLine(corner,
                                 QPointF((origin.x() + item.x2) * k, (origin.y() + item.y2) * k));
                break;
            case LabelItem::Kind::Box:
                painter.setPen(QPen(Qt::black, item.pen * k));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(QRectF(corner, QSizeF(item.width * k, item.height * k)));
                break;
        }
    }
}

// Scales the symbol into the item's box. The digits take the height zint
// leaves them, narrowed where the box is narrower than zint's proportions.
void LabelPainter::placeSymbol(ItemState& state, const QString& data) {
    const LabelItem& item = *state.item;
    const double k = m_dotsPerMm;
    state.symbolData = data;
    state.hasSymbol = true;
    state.bars.clear();
    state.digits.clear();
    const BarcodeSymbol symbol = encodeBarcode(data, item.symbology, item.showDigits);
    state.symbolError = symbol.error;
    if (!symbol.valid() || symbol.size.isEmpty()) return;
    const double sx = item.width * k / symbol.size.width();
    const double sy = item.height * k / symbol.size.height();
    state.bars.reserve(symbol.bars.size());
    for (const QRectF& bar : symbol.bars)
        state.bars.push_back(
            QRectF(bar.x() * sx, bar.y() * sy, bar.width() * sx, bar.height() * sy));
    const double pointsPerDot = 72.0 / (k * 25.4);
    for (const BarcodeSymbol::Digits& digits : symbol.digits) {
        QFont font(item.font);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setPointSizeF(digits.size * sy * pointsPerDot);
        double advance = QFontMetricsF(font, m_device).horizontalAdvance(digits.text);
        // zint's room for EAN digits reaches over the guard bars: four fifths
        // of it keep them apart.
        const double room = (digits.width > 0 ? digits.width : symbol.size.width()) * sx * 0.8;
        if (advance > room) {
            font.setPointSizeF(font.pointSizeF() * room / advance);
            advance = QFontMetricsF(font, m_device).horizontalAdvance(digits.text);
        }
        double x = digits.baseline.x() * sx;
        if (digits.align == 0) x -= advance / 2;
        if (digits.align == 2) x -= advance;
        state.digits.push_back({QPointF(x, digits.baseline.y() * sy), font, digits.text});
    }
}

}  // namespace lumtab
