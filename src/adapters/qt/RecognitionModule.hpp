#pragma once

#include "platform/ScreenCapture.hpp"
#include "adapters/qt/LazyModule.hpp"

namespace quorvane::platform::qt {

// Text and barcodes through the recognition module
// ("libquorvane_recognition.so": Tesseract and ZXing), loaded the first
// time a picture is read. Without the module nothing is recognised.
class RecognitionModule final : public TextRecognizer, public BarcodeReader {
  public:
    RecognitionModule(Log& log, QString path)
        : text_(log, "TextRecognition", "recognition module", path, "quorvane_make_text_recognizer"),
          barcodes_(log, "TextRecognition", "recognition module", path,
                    "quorvane_make_barcode_reader") {}

    std::optional<std::string> recognizeText(const std::string& image) override {
        auto* recognizer = text_.get();
        return recognizer ? recognizer->recognizeText(image) : std::nullopt;
    }
    std::optional<std::string> readBarcode(const std::string& image) override {
        auto* reader = barcodes_.get();
        return reader ? reader->readBarcode(image) : std::nullopt;
    }

  private:
    LazyModule<TextRecognizer> text_;
    LazyModule<BarcodeReader> barcodes_;
};

}  // namespace quorvane::platform::qt
