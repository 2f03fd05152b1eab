#include "ui/input/CursorRingView.hpp"

#include <QGuiApplication>
#include <QPalette>

namespace quorvane::ui::cursorRing {

namespace {

QColor accent() {
    return QGuiApplication::palette().color(QPalette::Highlight);
}

QRegion disc(QPointF centre, double r) {
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    return QRegion(box.toAlignedRect(), QRegion::Ellipse);
}

}  // namespace

double radius(const platform::OverlayDescription& description) {
    return diameter / 2 * (description.pressed ? pressedScale : 1.0);
}

void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size) {
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const double r = radius(description);
    const QColor colour = accent();
    painter.setRenderHint(QPainter::Antialiasing);
    if (description.glows) {
        // Fading rings outside the outline.
        for (int i = 1; i <= 4; ++i) {
            QColor glow = colour;
            glow.setAlphaF(0.35f / static_cast<float>(i));
            painter.setPen(QPen(glow, glowWidth / 4));
            painter.setBrush(Qt::NoBrush);
            const double at = r + outlineWidth / 2 + glowWidth / 4 * (i - 0.5);
            painter.drawEllipse(centre, at, at);
        }
    }
    QColor fill = colour;
    fill.setAlphaF(0.2f);
    painter.setBrush(fill);
    painter.setPen(QPen(colour, outlineWidth));
    painter.drawEllipse(centre, r, r);
}

QRegion shape(const platform::OverlayDescription& description, QSize size) {
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const double r = radius(description);
    const double outer = r + outlineWidth / 2 + 1 + (description.glows ? glowWidth : 0);
    const double inner = r - outlineWidth / 2 - 1;
    return disc(centre, outer).subtracted(disc(centre, inner));
}

platform::qt::ContentPainter painter() {
    return {.paint = &paint, .shape = &shape, .changed = {}};
}

}  // namespace quorvane::ui::cursorRing
