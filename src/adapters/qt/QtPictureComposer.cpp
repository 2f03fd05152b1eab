#include "adapters/qt/QtPictureComposer.hpp"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <cmath>

namespace quorvane::platform::qt {

namespace {

// Larger pictures than this are not desktop pictures worth the memory.
constexpr int maxSide = 16384;

int whole(double value) {
    return static_cast<int>(std::floor(value));
}

}  // namespace

Result<Size> QtPictureComposer::sizeOf(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return Error{"cannot read the picture " + path + ": " + reader.errorString().toStdString()};
    return Size{double(size.width()), double(size.height())};
}

Result<std::string> QtPictureComposer::compose(const std::string& path, Size scaled, Rect crop,
                                               double band) {
    if (scaled.width < 1 || scaled.height < 1 || scaled.width > maxSide ||
        scaled.height > maxSide || crop.size.width < 1 || crop.size.height < 1)
        return Error{"the picture cannot be made that size"};
    QImage picture(QString::fromStdString(path));
    if (picture.isNull())
        return Error{"cannot read the picture " + path};
    QImage result = picture
                        .scaled(whole(scaled.width), whole(scaled.height), Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation)
                        .copy(whole(crop.origin.x), whole(crop.origin.y), whole(crop.size.width),
                              whole(crop.size.height))
                        .convertToFormat(QImage::Format_RGB32);
    if (result.isNull())
        return Error{"the picture could not be made"};
    QPainter painter(&result);
    painter.fillRect(QRectF(0, 0, result.width(), band), Qt::black);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!result.save(&buffer, "PNG"))
        return Error{"the picture could not be written"};
    return bytes.toStdString();
}

}  // namespace quorvane::platform::qt
