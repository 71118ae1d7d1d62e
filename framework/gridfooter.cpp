#include "gridfooter.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include "grid.h"
#include "remoteudpdataset.h"

namespace {

// The left edge of the view's cells in the coordinates of `widget`.
int cellsLeft(const TDBTableView* view, const QWidget* widget) {
    const QWidget* top = widget->window();
    return view->viewport()->mapTo(top, QPoint(0, 0)).x() - widget->mapTo(top, QPoint(0, 0)).x();
}

void followView(QWidget* part, TDBTableView* view) {
    auto repaint = [part] { part->update(); };
    QHeaderView* header = view->horizontalHeader();
    QObject::connect(header, &QHeaderView::sectionResized, part, repaint);
    QObject::connect(header, &QHeaderView::sectionMoved, part, repaint);
    QObject::connect(header, &QHeaderView::geometriesChanged, part, repaint);
    QObject::connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, part, repaint);
    QObject::connect(view, &TDBTableView::layoutApplied, part, repaint);
}

}  // namespace

// ---------------------------------------------------------------- footer

TGridFooter::TGridFooter(TDBTableView* view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(view->objectName() + QStringLiteral("Footer"));
    followView(this, view);
    connect(view, &TDBTableView::summariesDirty, this, [this] {
        m_dirty = true;
        update();
    });
}

QSize TGridFooter::sizeHint() const {
    return QSize(100, fontMetrics().height() + 8);
}

QString TGridFooter::text(const TGridColumn& column) {
    if (m_dirty) recompute();
    return m_texts.value(&column);
}

void TGridFooter::recompute() {
    m_dirty = false;
    m_texts.clear();
    for (const TGridColumn* col : m_view->Columns())
        if (col->Summary() != TSummaryKind::None) m_texts.insert(col, m_view->SummaryText(*col));
}

void TGridFooter::paintEvent(QPaintEvent*) {
    if (m_dirty) recompute();
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const QHeaderView* header = m_view->horizontalHeader();
    const int left = cellsLeft(m_view, this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width(), 0);
    for (int section : m_view->VisibleSections()) {
        const QRect cell(left + header->sectionViewportPosition(section), 1,
                         header->sectionSize(section), height() - 2);
        if (cell.right() < left || cell.left() > width()) continue;
        const TGridColumn* col = m_view->ColumnOfSection(section);
        if (!col || col->Summary() == TSummaryKind::None) continue;
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(cell.adjusted(1, 1, -2, -1));
        p.setPen(palette().color(QPalette::ButtonText));
        // A summary with its caption ("合计：12.00") reads from the left, a bare number from the
        // right.
        const QString t = m_texts.value(col);
        const bool captioned = !t.isEmpty() && !t.at(0).isDigit() && t.at(0) != QLatin1Char('-');
        p.drawText(cell.adjusted(4, 0, -4, 0),
                   Qt::AlignVCenter | (captioned ? Qt::AlignLeft : Qt::AlignRight), t);
    }
}

// ---------------------------------------------------------------- bands

TBandHeader::TBandHeader(TDBTableView* view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(view->objectName() + QStringLiteral("Bands"));
    followView(this, view);
    // As tall as the column header, which has no height until the columns come.
    connect(view->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            &QWidget::updateGeometry);
}

QSize TBandHeader::sizeHint() const {
    return QSize(100, m_view->horizontalHeader()->sizeHint().height());
}

QRect TBandHeader::bandRect(int band) const {
    const QHeaderView* header = m_view->horizontalHeader();
    const int left = cellsLeft(m_view, this);
    QRect out;
    for (int section : m_view->VisibleSections()) {
        const TGridColumn* col = m_view->ColumnOfSection(section);
        if (!col || col->BandIndex() != band) continue;
        out |= QRect(left + header->sectionViewportPosition(section), 0,
                     header->sectionSize(section), height());
    }
    return out;
}

void TBandHeader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const int left = cellsLeft(m_view, this);
    p.setClipRect(QRect(left, 0, m_view->viewport()->width(), height()));
    for (int band = 0; band < m_view->Bands().size(); ++band) {
        const QRect r = bandRect(band);
        if (r.isEmpty()) continue;
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = r;
        option.text = m_view->Bands().at(band);
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &option, &p, this);
    }
}
