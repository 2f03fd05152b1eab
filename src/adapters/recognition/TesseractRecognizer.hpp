#pragma once

#include <memory>

#include "platform/Log.hpp"
#include "platform/ScreenCapture.hpp"

namespace tesseract {
class TessBaseAPI;
}

namespace quorvane::platform::recognition {

// Text through Tesseract: one engine, made on first use and kept until
// released, the LSTM
// model for English (Tesseract has no language detection), automatic page
// segmentation, each text line followed by "\n". Without the language
// data this is logged once and nothing is recognised. Not thread-safe:
// call it from one executor.
class TesseractRecognizer final : public TextRecognizer {
  public:
    explicit TesseractRecognizer(Log& log);
    ~TesseractRecognizer() override;

    std::optional<std::string> recognizeText(const std::string& image) override;
    void release() override;
    // Whether the engine is loaded now.
    bool holdsEngine() const { return api_ != nullptr; }

  private:
    Log& log_;
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    bool tried_ = false;
};

}  // namespace quorvane::platform::recognition
