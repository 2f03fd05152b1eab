#include "ui/Symbols.hpp"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace quorvane::ui {

namespace {

constexpr std::string_view known[] = {
    "checkmark.circle.fill",       "xmark.circle.fill",
    "xmark.octagon.fill",
    "arrow.clockwise.circle.fill", "trash.circle.fill",
    "arrow.uturn.backward.circle.fill", "doc.on.clipboard.fill",
    "exclamationmark.triangle.fill", "info.circle",
    "sun.max",                     "moon.fill",
    "magnifyingglass",
};

// Draws on a 24 × 24 grid.
void draw(QPainter& painter, std::string_view name, const QColor& colour) {
    // Filled circles carry their mark knocked out of them.
    auto filledCircle = [&] {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(1, 1, 22, 22));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(Qt::NoBrush);
        QPen knockout(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(knockout);
    };
    if (name == "checkmark.circle.fill") {
        filledCircle();
        painter.drawPolyline(QPolygonF({{7, 12.5}, {10.5, 16}, {17, 8.5}}));
    } else if (name == "xmark.circle.fill") {
        filledCircle();
        painter.drawLine(QPointF(8, 8), QPointF(16, 16));
        painter.drawLine(QPointF(16, 8), QPointF(8, 16));
    } else if (name == "xmark.octagon.fill") {
        // A stop sign: what was asked was refused.
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF({{8, 1}, {16, 1}, {23, 8}, {23, 16},
                                       {16, 23}, {8, 23}, {1, 16}, {1, 8}}));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(8, 8), QPointF(16, 16));
        painter.drawLine(QPointF(16, 8), QPointF(8, 16));
    } else if (name == "arrow.clockwise.circle.fill") {
        filledCircle();
        painter.drawArc(QRectF(7, 7, 10, 10), 60 * 16, -300 * 16);
        painter.drawPolyline(QPolygonF({{14.5, 5.8}, {16.8, 8.3}, {13.8, 9.6}}));
    } else if (name == "arrow.uturn.backward.circle.fill") {
        filledCircle();
        QPainterPath path({16.5, 16});
        path.lineTo(16.5, 11);
        path.cubicTo(16.5, 8.5, 14.5, 8, 12.5, 8);
        path.lineTo(8, 8);
        painter.drawPath(path);
        painter.drawPolyline(QPolygonF({{10.5, 5.5}, {8, 8}, {10.5, 10.5}}));
    } else if (name == "trash.circle.fill") {
        filledCircle();
        painter.drawLine(QPointF(7.5, 8.5), QPointF(16.5, 8.5));
        painter.drawPolyline(QPolygonF({{9, 9}, {9.8, 17}, {14.2, 17}, {15, 9}}));
        painter.drawLine(QPointF(10.5, 6.8), QPointF(13.5, 6.8));
    } else if (name == "doc.on.clipboard.fill") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(4, 4, 16, 18), 2.5, 2.5);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(QRectF(8.5, 2, 7, 4.5), 1.5, 1.5);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(9.5, 2.5, 5, 3), 1, 1);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::RoundCap));
        for (qreal y : {10.5, 14.0, 17.5})
            painter.drawLine(QPointF(8, y), QPointF(16, y));
    } else if (name == "exclamationmark.triangle.fill") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        QPainterPath triangle;
        triangle.moveTo(12, 2.5);
        triangle.lineTo(22.5, 21);
        triangle.lineTo(1.5, 21);
        triangle.closeSubpath();
        painter.drawPath(triangle);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(12, 8.5), QPointF(12, 14));
        painter.drawPoint(QPointF(12, 17.8));
    } else if (name == "info.circle") {
        painter.setPen(QPen(colour, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(2, 2, 20, 20));
        painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(12, 10.8), QPointF(12, 16.8));
        painter.drawPoint(QPointF(12, 7.2));
    } else if (name == "sun.max") {
        painter.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(8, 8, 8, 8));
        for (int ray = 0; ray < 8; ++ray) {
            const double angle = ray * M_PI / 4;
            painter.drawLine(QPointF(12 + 6.5 * std::cos(angle), 12 + 6.5 * std::sin(angle)),
                             QPointF(12 + 9.5 * std::cos(angle), 12 + 9.5 * std::sin(angle)));
        }
    } else if (name == "moon.fill") {
        // A disc with a smaller one bitten out of its upper right.
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(3, 3, 18, 18));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRectF(9, 0.5, 15, 15));
    } else if (name == "magnifyingglass") {
        painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(3.5, 3.5, 12, 12));
        painter.drawLine(QPointF(14, 14), QPointF(20.5, 20.5));
    }
}

}  // namespace

bool isKnownSymbol(std::string_view name) {
    for (auto candidate : known)
        if (candidate == name)
            return true;
    return false;
}

QPixmap symbolPixmap(std::string_view name, int size, const QColor& colour, qreal devicePixelRatio) {
    const int pixels = static_cast<int>(std::ceil(size * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    draw(painter, name, colour);
    return pixmap;
}

}  // namespace quorvane::ui
