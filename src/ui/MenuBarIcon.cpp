#include "ui/MenuBarIcon.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvane::ui {

namespace {

// A switch, its knob on: the program in one glyph, in an 18-unit square
// whose top-left corner is `origin`.
void drawGlyph(QPainter& painter, QPointF origin, qreal unit, const QColor& colour) {
    QPainterPath track;
    track.addRoundedRect(QRectF(origin.x() + 1.5 * unit, origin.y() + 5 * unit, 15 * unit, 8 * unit),
                         4 * unit, 4 * unit);
    painter.setPen(QPen(colour, 1.6 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(track);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(origin.x() + 12.5 * unit, origin.y() + 9 * unit), 2.6 * unit,
                        2.6 * unit);
}

QPixmap draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGlyph(painter, {0, 0}, size / 18.0, Qt::black);
    return pixmap;
}

}  // namespace

QIcon menuBarIcon() {
    QIcon icon;
    icon.addPixmap(draw(18));
    icon.addPixmap(draw(36));
    icon.setIsMask(true);
    return icon;
}

namespace {

// A smiling face: a ring, two eyes, a smile, in an 18-unit square.
QPixmap drawFace(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 18.0;
    painter.setPen(QPen(Qt::black, 1.6 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(1.8 * unit, 1.8 * unit, 14.4 * unit, 14.4 * unit));
    painter.setPen(QPen(Qt::black, 1.6 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(5.5 * unit, 5.5 * unit, 7 * unit, 7 * unit), 200 * 16, 140 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(6.8 * unit, 7.2 * unit), 1.2 * unit, 1.2 * unit);
    painter.drawEllipse(QPointF(11.2 * unit, 7.2 * unit), 1.2 * unit, 1.2 * unit);
    return pixmap;
}

}  // namespace

QIcon emojiPickerMenuBarIcon() {
    QIcon icon;
    icon.addPixmap(drawFace(18));
    icon.addPixmap(drawFace(36));
    icon.setIsMask(true);
    return icon;
}

QImage applicationIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The square fills 7/8 of the icon, as desktop icon sets leave a margin.
    const qreal margin = size / 16.0;
    const QRectF square(margin, margin, size - 2 * margin, size - 2 * margin);
    QLinearGradient fill(square.topLeft(), square.bottomLeft());
    fill.setColorAt(0, QColor(0x3d, 0x9b, 0xff));
    fill.setColorAt(1, QColor(0x0a, 0x5c, 0xd8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(square, square.width() * 0.225, square.width() * 0.225);
    // The glyph takes three quarters of the square, centred.
    const qreal unit = square.width() * 0.75 / 18.0;
    drawGlyph(painter, square.center() - QPointF(9 * unit, 9 * unit), unit, Qt::white);
    return image;
}

}  // namespace quorvane::ui
