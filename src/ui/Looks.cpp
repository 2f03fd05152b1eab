#include "ui/Looks.hpp"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace quorvane::ui {

void tint(QWidget* widget, const QColor& color, QPalette::ColorRole role) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor secondaryText(const QPalette& palette) {
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    // 40 % of the way from the text to the window: about 4.5:1 on either.
    auto mix = [](int from, int to) { return from + (to - from) * 2 / 5; };
    return {mix(text.red(), window.red()), mix(text.green(), window.green()),
            mix(text.blue(), window.blue())};
}

QColor warningText(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0xb3, 0x40) : QColor(0xb2, 0x6b, 0x00);
}

QColor errorText(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0x6b, 0x60) : QColor(0xb3, 0x26, 0x1e);
}

BoxedLabel::Look noticeLook(const QPalette& palette) {
    return isDark(palette) ? BoxedLabel::Look{.background = QColor(0x3d, 0x32, 0x15),
                                              .text = QColor(0xff, 0xd9, 0x8a),
                                              .border = QColor(0x7a, 0x5c, 0x12)}
                           : BoxedLabel::Look{.background = QColor(0xff, 0xf4, 0xd6),
                                              .text = QColor(0x5c, 0x43, 0x00),
                                              .border = QColor(0xe8, 0xc6, 0x6a)};
}

BoxedLabel::BoxedLabel(const QString& text, Look look, QWidget* parent)
    : QLabel(text, parent), look_(look) {
    setContentsMargins(look_.padding);
    tint(this, look_.text);
}

int BoxedLabel::heightForWidth(int width) const {
    if (width != measured_.width || text() != measured_.text || font() != measured_.font ||
        contentsMargins() != measured_.margins)
        measured_ = {width, text(), font(), contentsMargins(), QLabel::heightForWidth(width)};
    return measured_.height;
}

void fillRoundedBox(QPainter& painter, const QRectF& area, qreal radius, const QColor& fill,
                    const QColor& border, qreal borderWidth) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF inside = area;
    qreal insideRadius = radius;
    if (border.alpha() && borderWidth > 0) {
        inside = area.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
        insideRadius = std::max<qreal>(radius - borderWidth, 0);
        // The border alone, as a ring: a fill that lets light through
        // shows what is behind the box, not the border's colour.
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addRoundedRect(area, radius, radius);
        ring.addRoundedRect(inside, insideRadius, insideRadius);
        painter.fillPath(ring, border);
    }
    QPainterPath box;
    box.addRoundedRect(inside, insideRadius, insideRadius);
    painter.fillPath(box, fill);
    painter.restore();
}

void BoxedLabel::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        fillRoundedBox(painter, rect(), look_.radius, look_.background, look_.border);
    }
    QLabel::paintEvent(event);
}

}  // namespace quorvane::ui
