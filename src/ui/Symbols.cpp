#include "ui/Symbols.hpp"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <initializer_list>

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

// A mark's lines as one filled outline: round caps and joins are discs at
// the ends and corners, an elliptic line is a ring. Filled rather than
// stroked with a pen: the rasteriser fills curves with no trigonometry,
// where the pen's stroker needs it (and its tables) for every cap, join
// and curve.
class Outline {
  public:
    explicit Outline(qreal width) : radius_(width / 2) { path_.setFillRule(Qt::WindingFill); }

    void dot(QPointF centre) { path_.addEllipse(centre, radius_, radius_); }

    void line(QPointF from, QPointF to) {
        const QPointF along = to - from;
        const qreal length = std::sqrt(QPointF::dotProduct(along, along));
        if (length > 0) {
            const QPointF across = QPointF(-along.y(), along.x()) * (radius_ / length);
            QPolygonF band({from + across, to + across, to - across, from - across});
            // Wound as the discs are, so the overlaps add up instead of
            // cancelling out.
            if ((signedArea(band) > 0) != discsWindPositive())
                std::reverse(band.begin(), band.end());
            path_.addPolygon(band);
            path_.closeSubpath();
        }
        dot(from);
        dot(to);
    }

    void polyline(std::initializer_list<QPointF> points) {
        for (auto point = points.begin(); point + 1 < points.end(); ++point)
            line(*point, *(point + 1));
    }

    // The ellipse inside `bounds`, its line centred on the edge.
    void ring(const QRectF& bounds) {
        path_.addEllipse(bounds.adjusted(-radius_, -radius_, radius_, radius_));
        QPainterPath hole;
        hole.addEllipse(bounds.adjusted(radius_, radius_, -radius_, -radius_));
        path_.addPath(hole.toReversed());
    }

    void fill(QPainter& painter, const QColor& colour) const {
        painter.fillPath(path_, colour);
    }

  private:
    static bool discsWindPositive() {
        static const bool positive = [] {
            QPainterPath disc;
            disc.addEllipse(QPointF(0, 0), 1, 1);
            return signedArea(disc.toFillPolygon()) > 0;
        }();
        return positive;
    }

    static qreal signedArea(const QPolygonF& polygon) {
        qreal twice = 0;
        for (qsizetype index = 0; index < polygon.size(); ++index) {
            const QPointF& here = polygon[index];
            const QPointF& next = polygon[(index + 1) % polygon.size()];
            twice += here.x() * next.y() - next.x() * here.y();
        }
        return twice / 2;
    }

    qreal radius_;
    QPainterPath path_;
};

// Draws on a 24 × 24 grid.
void draw(QPainter& painter, std::string_view name, const QColor& colour) {
    // Filled circles carry their mark knocked out of them.
    auto filledCircle = [&] {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(1, 1, 22, 22));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    };
    const QColor knockout(Qt::black);
    if (name == "checkmark.circle.fill") {
        filledCircle();
        Outline mark(2.4);
        mark.polyline({{7, 12.5}, {10.5, 16}, {17, 8.5}});
        mark.fill(painter, knockout);
    } else if (name == "xmark.circle.fill") {
        filledCircle();
        Outline mark(2.4);
        mark.line({8, 8}, {16, 16});
        mark.line({16, 8}, {8, 16});
        mark.fill(painter, knockout);
    } else if (name == "xmark.octagon.fill") {
        // A stop sign: what was asked was refused.
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF({{8, 1}, {16, 1}, {23, 8}, {23, 16},
                                       {16, 23}, {8, 23}, {1, 16}, {1, 8}}));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        Outline mark(2.4);
        mark.line({8, 8}, {16, 16});
        mark.line({16, 8}, {8, 16});
        mark.fill(painter, knockout);
    } else if (name == "arrow.clockwise.circle.fill") {
        filledCircle();
        // The arc is a curve offset both ways: left to the pen.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(knockout, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawArc(QRectF(7, 7, 10, 10), 60 * 16, -300 * 16);
        Outline head(2.4);
        head.polyline({{14.5, 5.8}, {16.8, 8.3}, {13.8, 9.6}});
        head.fill(painter, knockout);
    } else if (name == "arrow.uturn.backward.circle.fill") {
        filledCircle();
        QPainterPath path({16.5, 16});
        path.lineTo(16.5, 11);
        path.cubicTo(16.5, 8.5, 14.5, 8, 12.5, 8);
        path.lineTo(8, 8);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(knockout, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
        Outline head(2.4);
        head.polyline({{10.5, 5.5}, {8, 8}, {10.5, 10.5}});
        head.fill(painter, knockout);
    } else if (name == "trash.circle.fill") {
        filledCircle();
        Outline mark(2.4);
        mark.line({7.5, 8.5}, {16.5, 8.5});
        mark.polyline({{9, 9}, {9.8, 17}, {14.2, 17}, {15, 9}});
        mark.line({10.5, 6.8}, {13.5, 6.8});
        mark.fill(painter, knockout);
    } else if (name == "doc.on.clipboard.fill") {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(4, 4, 16, 18), 2.5, 2.5);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(knockout);
        painter.drawRoundedRect(QRectF(8.5, 2, 7, 4.5), 1.5, 1.5);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(9.5, 2.5, 5, 3), 1, 1);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        Outline lines(1.8);
        for (qreal y : {10.5, 14.0, 17.5})
            lines.line({8, y}, {16, y});
        lines.fill(painter, knockout);
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
        Outline mark(2.4);
        mark.line({12, 8.5}, {12, 14});
        mark.dot({12, 17.8});
        mark.fill(painter, knockout);
    } else if (name == "info.circle") {
        Outline circle(1.6);
        circle.ring(QRectF(2, 2, 20, 20));
        circle.fill(painter, colour);
        Outline mark(2.4);
        mark.line({12, 10.8}, {12, 16.8});
        mark.dot({12, 7.2});
        mark.fill(painter, colour);
    } else if (name == "sun.max") {
        Outline sun(1.8);
        sun.ring(QRectF(8, 8, 8, 8));
        for (int ray = 0; ray < 8; ++ray) {
            const double angle = ray * M_PI / 4;
            sun.line({12 + 6.5 * std::cos(angle), 12 + 6.5 * std::sin(angle)},
                     {12 + 9.5 * std::cos(angle), 12 + 9.5 * std::sin(angle)});
        }
        sun.fill(painter, colour);
    } else if (name == "moon.fill") {
        // A disc with a smaller one bitten out of its upper right.
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(3, 3, 18, 18));
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setBrush(knockout);
        painter.drawEllipse(QRectF(9, 0.5, 15, 15));
    } else if (name == "magnifyingglass") {
        Outline glass(2.2);
        glass.ring(QRectF(3.5, 3.5, 12, 12));
        glass.line({14, 14}, {20.5, 20.5});
        glass.fill(painter, colour);
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
    // Rounded up, so a fractional scale never crops the symbol.
    const qreal exact = size * devicePixelRatio;
    int pixels = static_cast<int>(exact);
    if (pixels < exact)
        ++pixels;
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
