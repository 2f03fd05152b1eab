#include "ui/MenuBarIcon.hpp"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quorvane::ui {

namespace {

// A switch, its knob on: the program in one glyph.
QPixmap draw(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 18.0;
    QPainterPath track;
    track.addRoundedRect(QRectF(1.5 * unit, 5 * unit, 15 * unit, 8 * unit), 4 * unit, 4 * unit);
    painter.setPen(QPen(Qt::black, 1.6 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(track);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(12.5 * unit, 9 * unit), 2.6 * unit, 2.6 * unit);
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

}  // namespace quorvane::ui
