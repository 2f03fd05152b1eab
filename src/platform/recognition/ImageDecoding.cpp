#include "platform/recognition/ImageDecoding.hpp"

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
        for (int y = 0; y < decoded.height(); ++y)
            for (int x = 0; x < decoded.width(); ++x) {
                const QRgb pixel = decoded.pixel(x, y);
                const int a = qAlpha(pixel);
                auto blend = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
                flat.setPixel(x, y, qRgb(blend(qRed(pixel)), blend(qGreen(pixel)), blend(qBlue(pixel))));
            }
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
