#include "adapters/recognition/ZxingBarcodeReader.hpp"

#include <ReadBarcode.h>

#include "adapters/recognition/ImageDecoding.hpp"

namespace quorvane::platform::recognition {

namespace {

ZXing::Results barcodesIn(const QImage& grey) {
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
    return ZXing::ReadBarcodes(view, hints);
}

}  // namespace

std::vector<QRect> barcodeAreas(const QImage& grey) {
    std::vector<QRect> areas;
    for (const auto& result : barcodesIn(grey)) {
        if (!result.isValid())
            continue;
        QRect area;
        for (const auto& corner : result.position())
            area |= QRect(corner.x, corner.y, 1, 1);
        // The finder patterns' corners bound the code; its quiet zone and a
        // linear code's bars reach a little further.
        const int margin = std::max(4, std::min(area.width(), area.height()) / 8);
        areas.push_back(area.adjusted(-margin, -margin, margin, margin));
    }
    return areas;
}

std::optional<std::string> ZxingBarcodeReader::readBarcode(const std::string& image) {
    const auto grey = greyForReading(image);
    if (!grey)
        return std::nullopt;
    for (const auto& result : barcodesIn(*grey)) {
        if (!result.isValid())
            continue;
        if (result.contentType() == ZXing::ContentType::Binary)
            return std::nullopt;
        return result.text();
    }
    return std::nullopt;
}

}  // namespace quorvane::platform::recognition
