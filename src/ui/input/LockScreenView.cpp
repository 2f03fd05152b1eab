#include "ui/input/LockScreenView.hpp"

#include <QPainterPath>

namespace quorvane::ui::lockScreen {

namespace {

QRectF buttonRect(QSize size) {
    const auto side = platform::unlockButtonSide;
    return {(size.width() - side) / 2, (size.height() - side) / 2, side, side};
}

}  // namespace

void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size) {
    if (!description.showsUnlock)
        return;
    const QRectF button = buttonRect(size);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1C, 0x1C, 0x1E));
    painter.drawRoundedRect(button, 22, 22);

    // An open padlock: the body, and the shackle lifted off its right leg.
    const QPointF centre = button.center();
    const QRectF body(centre.x() - 22, centre.y() - 4, 44, 32);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(body, 6, 6);
    painter.setBrush(QColor(0x1C, 0x1C, 0x1E));
    painter.drawEllipse(QPointF(centre.x(), body.center().y() - 2), 4, 4);
    painter.drawRect(QRectF(centre.x() - 1.5, body.center().y(), 3, 8));
    QPainterPath shackle;
    const double left = centre.x() - 14;
    const double right = centre.x() + 14;
    const double top = body.top() - 30;
    shackle.moveTo(left, body.top());
    shackle.lineTo(left, top + 14);
    shackle.arcTo(QRectF(left, top, right - left, 28), 180, -180);
    shackle.lineTo(right, top + 20);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(shackle.translated(0, -8));
}

QRegion shape(const platform::OverlayDescription& description, QSize size) {
    if (!description.showsUnlock)
        return QRegion(0, 0, 1, 1);  // an empty mask would mean no mask
    QPainterPath rounded;
    rounded.addRoundedRect(buttonRect(size), 22, 22);
    return QRegion(rounded.toFillPolygon().toPolygon());
}

platform::qt::ContentPainter painter() {
    return {.paint = &paint, .shape = &shape, .changed = {}};
}

}  // namespace quorvane::ui::lockScreen
