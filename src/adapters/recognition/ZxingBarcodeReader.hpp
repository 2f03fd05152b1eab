#pragma once

#include <QImage>
#include <QRect>

#include <vector>

#include "platform/ScreenCapture.hpp"

namespace quorvane::platform::recognition {

// Where the barcodes in a grey picture are, each with its quiet zone.
std::vector<QRect> barcodeAreas(const QImage& grey);

// Barcodes and QR codes through ZXing: every format, trying harder; the
// first result's text as UTF-8, absent for binary content.
class ZxingBarcodeReader final : public BarcodeReader {
  public:
    std::optional<std::string> readBarcode(const std::string& image) override;
};

}  // namespace quorvane::platform::recognition
