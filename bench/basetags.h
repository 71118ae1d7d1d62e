#pragma once
// The hang tag baselines' tag: what 吊牌.frf prints, written out by hand, one
// QPdfWriter page per row of vbarcode, zint's bars drawn as rectangles, at
// fixed places. Shared by the tag benchmarks so that they measure against the
// same loop.
#include <zint.h>

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QStringEncoder>
#include <cstdio>
#include <cstdlib>

#include "rowsink.h"

namespace md::bench {

class BaseTags : public RowSink {
  public:
    explicit BaseTags(const QString& file) : m_writer(file) {
        m_writer.setResolution(600);
        m_writer.setPageSize(
            QPageSize(QSizeF(50, 90), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
        m_writer.setPageMargins(QMarginsF());
        m_normal = font(8, false);
        m_price = font(11, true);
        m_brand = font(14, true);
    }
    ~BaseTags() override { finish(); }

    void setColumns(const QVector<ColumnMeta>& columns) override {
        m_row.resize(columns.size());
        const auto at = [&](const char* name) {
            for (int c = 0; c < columns.size(); ++c)
                if (columns[c].name == QString::fromUtf8(name)) return c;
            std::fprintf(stderr, "column %s missing\n", name);
            std::exit(1);
        };
        m_columns = {at("品牌"), at("货品名称"), at("货号"),    at("打印颜色编号"),
                     at("颜色"), at("打印尺码"), at("面料"),    at("执行标准"),
                     at("产地"), at("吊牌价"),   at("条形码1"), at("条形码2")};
    }
    QVariant* appendRow() override {
        if (m_pending) draw();
        m_pending = true;
        ++tags;
        return m_row.data();
    }
    void finish() {
        if (m_pending) draw();
        m_pending = false;
        if (m_painter.isActive()) m_painter.end();
    }

    int tags = 0;

  private:
    QFont font(double points, bool bold) {
        QFont f(QStringLiteral("Noto Sans CJK SC"));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }
    QString text(int i) const { return m_row[m_columns[i]].toString(); }
    double mm(double v) const { return v * 600 / 25.4; }

    void text(const QFont& font, double x, double y, const QString& s) {
        m_painter.setFont(font);
        m_painter.drawText(QPointF(mm(x), mm(y) + QFontMetricsF(font, &m_writer).ascent()), s);
    }

    void symbol(int symbology, const QString& data, double x, double y, double w, double h) {
        if (data.isEmpty()) return;
        zint_symbol* z = ZBarcode_Create();
        z->symbology = symbology;
        z->input_mode = UNICODE_MODE;
        const QByteArray bytes = data.toUtf8();
        if (ZBarcode_Encode(z, reinterpret_cast<const unsigned char*>(bytes.constData()),
                            int(bytes.size())) < ZINT_ERROR &&
            ZBarcode_Buffer_Vector(z, 0) < ZINT_ERROR) {
            const double sx = mm(w) / z->vector->width;
            const double sy = mm(h) / z->vector->height;
            QVector<QRectF> bars;
            for (const zint_vector_rect* r = z->vector->rectangles; r; r = r->next)
                bars.push_back(
                    QRectF(mm(x) + r->x * sx, mm(y) + r->y * sy, r->width * sx, r->height * sy));
            m_painter.setPen(Qt::NoPen);
            m_painter.setBrush(Qt::black);
            m_painter.drawRects(bars);
            m_painter.setPen(Qt::black);
            for (const zint_vector_string* s = z->vector->strings; s; s = s->next) {
                QFont digits(QStringLiteral("Noto Sans CJK SC"));
                digits.setPointSizeF(s->fsize * std::min(sx, sy) * 72 / 600);
                m_painter.setFont(digits);
                const QString t = QString::fromUtf8(reinterpret_cast<const char*>(s->text));
                const double advance = QFontMetricsF(digits, &m_writer).horizontalAdvance(t);
                m_painter.drawText(QPointF(mm(x) + s->x * sx - advance / 2, mm(y) + s->y * sy), t);
            }
        }
        ZBarcode_Delete(z);
    }

    void draw() {
        if (!m_painter.isActive())
            m_painter.begin(&m_writer);
        else
            m_writer.newPage();
        m_painter.setPen(QPen(Qt::black, mm(0.3)));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(QRectF(mm(1), mm(1), mm(48), mm(88)));
        m_painter.setPen(Qt::black);
        const QString brand = text(0);
        const double brandWidth = QFontMetricsF(m_brand, &m_writer).horizontalAdvance(brand);
        m_painter.setFont(m_brand);
        m_painter.drawText(QPointF(mm(2) + (mm(46) - brandWidth) / 2,
                                   mm(3) + QFontMetricsF(m_brand, &m_writer).ascent()),
                           brand);
        m_painter.setPen(QPen(Qt::black, mm(0.2)));
        m_painter.drawLine(QPointF(mm(4), mm(11)), QPointF(mm(46), mm(11)));
        m_painter.setPen(Qt::black);
        text(m_normal, 4, 13, QStringLiteral("品名：") + text(1));
        text(m_normal, 4, 18, QStringLiteral("货号：") + text(2));
        text(m_normal, 4, 23, QStringLiteral("颜色：") + text(3) + QLatin1Char(' ') + text(4));
        text(m_normal, 4, 28, QStringLiteral("尺码：") + text(5));
        text(m_normal, 4, 33, QStringLiteral("面料：") + text(6));
        text(m_normal, 4, 38, QStringLiteral("执行标准：") + text(7));
        text(m_normal, 4, 43, QStringLiteral("产地：") + text(8));
        text(
            m_price, 4, 49,
            QStringLiteral("零售价：￥") + QString::number(m_row[m_columns[9]].toDouble(), 'f', 2));
        symbol(BARCODE_CODE128, text(10), 4, 57, 42, 14);
        symbol(BARCODE_EANX, text(11), 7, 73, 36, 14);
    }

    QPdfWriter m_writer;
    QPainter m_painter;
    QFont m_normal, m_price, m_brand;
    QVector<QVariant> m_row;
    QVector<int> m_columns;
    bool m_pending = false;
};

}  // namespace md::bench
