#include "ui/Looks.hpp"

#include <QPainter>

namespace quorvane::ui {

void tint(QWidget* widget, const QColor& color, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

BoxedLabel::BoxedLabel(const QString& text, Look look, QWidget* parent)
    : QLabel(text, parent), look_(look) {
    setContentsMargins(look_.padding);
    tint(this, look_.text);
}

void BoxedLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(look_.border.alpha() ? QPen(look_.border) : QPen(Qt::NoPen));
        painter.setBrush(look_.background);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), look_.radius,
                                look_.radius);
    }
    QLabel::paintEvent(event);
}

}  // namespace quorvane::ui
