#include "appidentity.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "messages.h"

namespace md::host {

namespace {

const QColor kSystemBlue(0x2B, 0x6C, 0xB0);

// One colour per menu area, in menu order, wrapping around.
QColor areaColour(int area) {
    static const QColor colours[] = {
        QColor(0x2B, 0x6C, 0xB0), QColor(0x2F, 0x85, 0x5A), QColor(0x6B, 0x46, 0xC1),
        QColor(0xC0, 0x56, 0x21), QColor(0x2C, 0x7A, 0x7B), QColor(0xB8, 0x32, 0x80),
        QColor(0x4A, 0x55, 0x68), QColor(0x97, 0x5A, 0x16),
    };
    return colours[qMax(0, area) % int(std::size(colours))];
}

QPixmap shirt(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = side;
    p.setPen(Qt::NoPen);
    p.setBrush(kSystemBlue);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    // A T-shirt: shoulders, sleeves, body, and a collar cut out.
    QPainterPath body;
    body.moveTo(s * 0.36, s * 0.20);
    body.lineTo(s * 0.16, s * 0.30);
    body.lineTo(s * 0.10, s * 0.46);
    body.lineTo(s * 0.26, s * 0.50);
    body.lineTo(s * 0.28, s * 0.82);
    body.lineTo(s * 0.72, s * 0.82);
    body.lineTo(s * 0.74, s * 0.50);
    body.lineTo(s * 0.90, s * 0.46);
    body.lineTo(s * 0.84, s * 0.30);
    body.lineTo(s * 0.64, s * 0.20);
    body.quadTo(s * 0.50, s * 0.34, s * 0.36, s * 0.20);
    body.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(body);
    return pixmap;
}

QPixmap letter(const QString& caption, const QColor& colour, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0, 0, side, side), side * 0.2, side * 0.2);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(qMax(8, int(side * 0.62)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, caption.left(1));
    return pixmap;
}

}  // namespace

void setApplicationIdentity() {
    QApplication::setApplicationName(QStringLiteral("masterdata"));
    QApplication::setApplicationDisplayName(md::ui::kApplicationName);
    QApplication::setWindowIcon(applicationIcon());
}

QString programVersion() {
    return QStringLiteral(MD_VERSION);
}

QIcon applicationIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(shirt(side));
    return icon;
}

QIcon functionIcon(const QString& caption, int area) {
    QIcon icon;
    for (int side : {16, 24, 32, 48}) icon.addPixmap(letter(caption, areaColour(area), side));
    return icon;
}

}  // namespace md::host
