#include "adapters/recognition/ImageDecoding.hpp"

#include <QPainter>

namespace quorvane::platform::recognition {

std::optional<QImage> greyForReading(const std::string& image) {
    QImage decoded;
    if (image.empty() ||
        !decoded.loadFromData(reinterpret_cast<const uchar*>(image.data()), static_cast<int>(image.size())))
        return std::nullopt;
    // Transparent pixels read as the light ground they stand for.
    if (decoded.hasAlphaChannel()) {
        QImage flat(decoded.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, decoded);
        decoded = flat;
    }
    QImage grey = decoded.convertToFormat(QImage::Format_Grayscale8);
    long long sum = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* line = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            sum += line[x];
    }
    const long long pixels = static_cast<long long>(grey.width()) * grey.height();
    if (pixels > 0 && sum / pixels < 128)
        grey.invertPixels();
    return grey;
}

}  // namespace quorvane::platform::recognition
