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

// A smiling face: a ring, two eyes, a smile, in an 18-unit square.
void drawFace(QPainter& painter, QPointF origin, qreal unit, const QColor& colour) {
    painter.setPen(QPen(colour, 1.6 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(origin.x() + 1.8 * unit, origin.y() + 1.8 * unit, 14.4 * unit, 14.4 * unit));
    painter.setPen(QPen(colour, 1.6 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(origin.x() + 5.5 * unit, origin.y() + 5.5 * unit, 7 * unit, 7 * unit), 200 * 16,
                    140 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(origin + QPointF(6.8 * unit, 7.2 * unit), 1.2 * unit, 1.2 * unit);
    painter.drawEllipse(origin + QPointF(11.2 * unit, 7.2 * unit), 1.2 * unit, 1.2 * unit);
}

// A bar with a chevron pointing left at what it hides.
void drawSeparator(QPainter& painter, QPointF origin, qreal unit, const QColor& colour) {
    painter.setPen(QPen(colour, 1.6 * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(origin + QPointF(11 * unit, 3 * unit), origin + QPointF(11 * unit, 15 * unit));
    const QPointF chevron[] = {origin + QPointF(8 * unit, 6 * unit), origin + QPointF(5 * unit, 9 * unit),
                               origin + QPointF(8 * unit, 12 * unit)};
    painter.drawPolyline(chevron, 3);
}

using GlyphDrawer = void (*)(QPainter&, QPointF, qreal, const QColor&);

// A template image as the menu bar takes it: black on transparent, 18
// points square and twice that for dense screens, so that the system
// tints it like every other status icon.
QIcon templateIcon(GlyphDrawer drawer) {
    QIcon icon;
    for (int pixels : {18, 36}) {
        QPixmap pixmap(pixels, pixels);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        drawer(painter, {0, 0}, pixels / 18.0, Qt::black);
        painter.end();
        icon.addPixmap(pixmap);
    }
    icon.setIsMask(true);
    return icon;
}

}  // namespace

QIcon menuBarIcon() {
    return templateIcon(drawGlyph);
}

QIcon emojiPickerMenuBarIcon() {
    return templateIcon(drawFace);
}

QIcon statusIconSeparator() {
    return templateIcon(drawSeparator);
}

QImage hideStatusItemsScreenshot(int width, qreal pixelRatio) {
    const int height = 64;
    QImage image(static_cast<int>(width * pixelRatio), static_cast<int>(height * pixelRatio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The bar, light, with its items right to left: the clock, our own
    // item, the separator, then the items it hides.
    const QRectF bar(0, 8, width, 24);
    painter.setPen(QPen(QColor(0, 0, 0, 50), 1));
    painter.setBrush(QColor(250, 250, 252));
    painter.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 32));
    painter.drawText(QRectF(width - 92, bar.top(), 84, bar.height()), Qt::AlignCenter, QStringLiteral("Mon 9:41"));
    qreal x = width - 92;
    x -= 24;
    drawGlyph(painter, QPointF(x + 3, bar.top() + 3), 1.0, QColor(30, 30, 32));
    x -= 24;
    const qreal separatorX = x;
    drawSeparator(painter, QPointF(x + 3, bar.top() + 3), 1.0, QColor(0, 122, 255));
    const QColor hidden(120, 120, 126);
    for (int i = 0; i < 4; ++i) {
        x -= 28;
        painter.setPen(Qt::NoPen);
        painter.setBrush(hidden);
        painter.drawRoundedRect(QRectF(x + 7, bar.top() + 6, 14, 12), 3, 3);
    }
    // What a click on the separator takes away.
    painter.setPen(QPen(QColor(0, 122, 255), 1.5, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(x + 2, bar.top() + 2, separatorX - x - 4, bar.height() - 4), 5, 5);
    painter.setPen(QColor(90, 90, 96));
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(QRectF(x, bar.bottom() + 4, separatorX - x, 20), Qt::AlignCenter,
                     QStringLiteral("hidden by a click"));
    return image;
}

QImage formImage(const std::string& name, qreal pixelRatio) {
    if (name == "hideStatusItemsScreenshot")
        return hideStatusItemsScreenshot(340, pixelRatio);
    return {};
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
