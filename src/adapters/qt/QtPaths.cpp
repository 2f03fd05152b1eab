#include "adapters/qt/QtPaths.hpp"

#include <cmath>
#include <numbers>

namespace quorvane::platform::qt {

QPainterPath painterPath(const std::vector<PathElement>& outline) {
    constexpr double turn = 2 * std::numbers::pi;
    constexpr double degrees = 180 / std::numbers::pi;
    QPainterPath path;
    for (const auto& element : outline) {
        switch (element.kind) {
            case PathElement::Kind::move:
                path.moveTo(element.point.x, element.point.y);
                break;
            case PathElement::Kind::line:
                path.lineTo(element.point.x, element.point.y);
                break;
            case PathElement::Kind::arc: {
                // Not clockwise: the angle grows; clockwise: it shrinks.
                double sweep = std::fmod(element.endAngle - element.startAngle, turn);
                if (!element.clockwise && sweep < 0)
                    sweep += turn;
                if (element.clockwise && sweep > 0)
                    sweep -= turn;
                const double r = element.radius;
                path.arcTo(QRectF(element.centre.x - r, element.centre.y - r, 2 * r, 2 * r),
                           -element.startAngle * degrees, -sweep * degrees);
                break;
            }
            case PathElement::Kind::close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

}  // namespace quorvane::platform::qt
