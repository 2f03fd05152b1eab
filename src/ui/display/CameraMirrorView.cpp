#include "ui/display/CameraMirrorView.hpp"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane::ui::cameraMirror {

namespace {

using Shape = platform::MirrorPicture::Shape;

// |x|^n + |y|^n = 1, drawn through enough points to look smooth at any size.
QPainterPath squircle(const QRectF& area) {
    constexpr int points = 128;
    const double power = 2 / squircleExponent;
    const QPointF centre = area.center();
    QPainterPath path;
    for (int i = 0; i <= points; ++i) {
        const double angle = 2 * std::numbers::pi * i / points;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const QPointF point(centre.x() + area.width() / 2 * std::copysign(std::pow(std::abs(c), power), c),
                            centre.y() + area.height() / 2 * std::copysign(std::pow(std::abs(s), power), s));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void paintPicture(QPainter& painter, const platform::MirrorPicture& mirror, const QRectF& area) {
    const auto& frame = mirror.frame;
    // The camera's own buffer, not copied.
    const QImage image(reinterpret_cast<const uchar*>(frame.pixels), frame.width, frame.height,
                       static_cast<qsizetype>(frame.stride) * 4, QImage::Format_RGB32);
    const bool turnedSideways = mirror.quarterTurns % 2 != 0;
    const double shownWidth = turnedSideways ? frame.height : frame.width;
    const double shownHeight = turnedSideways ? frame.width : frame.height;
    const double across = area.width() / shownWidth;
    const double down = area.height() / shownHeight;
    const double scale = mirror.fills ? std::max(across, down) : std::min(across, down);
    painter.fillRect(area, Qt::black);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(area.center());
    if (mirror.mirrored)
        painter.scale(-1, 1);
    painter.rotate(90.0 * mirror.quarterTurns);
    painter.scale(scale, scale);
    painter.drawImage(QPointF(-frame.width / 2.0, -frame.height / 2.0), image);
    painter.restore();
}

void paintMessage(QPainter& painter, const platform::MirrorPicture& mirror, const QRectF& area) {
    painter.fillRect(area, QColor(44, 44, 46));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(std::max(11, static_cast<int>(area.height() / 12)));
    font.setBold(true);
    painter.setFont(font);
    const QRectF inner = area.adjusted(area.width() * 0.18, area.height() * 0.2, -area.width() * 0.18,
                                       -area.height() * 0.2);
    const double titleHeight = font.pixelSize() * 1.4;
    const QRectF title(inner.left(), inner.center().y() - titleHeight, inner.width(), titleHeight);
    painter.drawText(title, Qt::AlignHCenter | Qt::AlignBottom, QString::fromStdString(mirror.message));
    font.setBold(false);
    font.setPixelSize(std::max(9, font.pixelSize() * 2 / 3));
    painter.setFont(font);
    painter.setPen(QColor(220, 220, 224));
    painter.drawText(QRectF(inner.left(), inner.center().y() + 4, inner.width(), inner.bottom() - inner.center().y()),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, QString::fromStdString(mirror.reason));
}

void paintButton(QPainter& painter, const platform::Rect& place, bool close) {
    const QRectF button(place.origin.x, place.origin.y, place.size.width, place.size.height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 150));
    painter.drawEllipse(button);
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = button.center();
    const double r = button.width() / 4;
    if (close) {
        painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        return;
    }
    // Two arrows pointing apart across a line: left and right swapped.
    painter.drawLine(c + QPointF(0, -r * 1.2), c + QPointF(0, r * 1.2));
    for (const double side : {-1.0, 1.0}) {
        const QPointF tip = c + QPointF(side * r * 1.4, 0);
        painter.drawLine(c + QPointF(side * r * 0.4, 0), tip);
        painter.drawLine(tip, tip + QPointF(-side * r * 0.5, -r * 0.5));
        painter.drawLine(tip, tip + QPointF(-side * r * 0.5, r * 0.5));
    }
}

}  // namespace

QPainterPath outline(Shape kind, const QRectF& area) {
    QPainterPath path;
    switch (kind) {
        case Shape::circle:
            path.addEllipse(area);
            return path;
        case Shape::roundedRectangle: {
            const double radius = platform::mirrorCornerRadius(area.width());
            path.addRoundedRect(area, radius, radius);
            return path;
        }
        case Shape::squircle:
            return squircle(area);
    }
    path.addRect(area);
    return path;
}

void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size) {
    const QRectF area{QPointF(), QSizeF(size)};
    const auto& mirror = description.mirror;
    painter.fillRect(area, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = outline(mirror.shape, area);
    painter.save();
    painter.setClipPath(path);
    if (!mirror.frame.isEmpty())
        paintPicture(painter, mirror, area);
    else
        paintMessage(painter, mirror, area);
    painter.restore();
    if (mirror.bordered) {
        const double inset = borderWidth / 2;
        painter.setPen(QPen(Qt::white, borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(outline(mirror.shape, area.adjusted(inset, inset, -inset, -inset)));
    }
    if (mirror.hovered) {
        paintButton(painter, platform::mirrorCloseButton(area.width()), true);
        paintButton(painter, platform::mirrorFlipButton(area.width()), false);
    }
}

QRegion shape(const platform::OverlayDescription& description, QSize size) {
    return QRegion(outline(description.mirror.shape, QRectF(QPointF(), QSizeF(size)))
                       .toFillPolygon()
                       .toPolygon());
}

platform::qt::ContentPainter painter() {
    return {.paint = &paint, .shape = &shape, .changed = {}};
}

}  // namespace quorvane::ui::cameraMirror
