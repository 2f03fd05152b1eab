#include "adapters/qt/Loupe.hpp"

#include <algorithm>

namespace quorvane::platform::qt {

namespace {
constexpr QRgb outside = qRgb(24, 24, 24);
}

Loupe::Loupe() : image_(side, side, QImage::Format_RGB32) {
    image_.fill(outside);
}

QRgb Loupe::render(const QImage& capture, QPoint pixel) {
    const int half = cells / 2;
    const int width = capture.width();
    const int height = capture.height();
    const auto stride = static_cast<qsizetype>(image_.bytesPerLine() / 4);
    // bits() detaches only if the image is shared, and nothing keeps a copy.
    auto* target = reinterpret_cast<QRgb*>(image_.bits());
    for (int row = 0; row < cells; ++row) {
        const int y = pixel.y() - half + row;
        const bool rowInside = y >= 0 && y < height;
        const auto* source =
            rowInside ? reinterpret_cast<const QRgb*>(capture.constScanLine(y)) : nullptr;
        QRgb* first = target + static_cast<qsizetype>(row) * zoom * stride;
        for (int column = 0; column < cells; ++column) {
            const int x = pixel.x() - half + column;
            const QRgb color = rowInside && x >= 0 && x < width ? (source[x] | 0xff000000u) : outside;
            std::fill_n(first + column * zoom, zoom, color);
        }
        for (int copy = 1; copy < zoom; ++copy)
            std::copy_n(first, side, first + copy * stride);
    }
    const bool inside = pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < width && pixel.y() < height;
    return inside ? capture.pixel(pixel) : outside;
}

}  // namespace quorvane::platform::qt
