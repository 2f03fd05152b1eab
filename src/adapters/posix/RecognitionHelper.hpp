#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Log.hpp"
#include "adapters/posix/HelperProcess.hpp"
#include "platform/ScreenCapture.hpp"

namespace quorvane::platform::posix {

// Text and barcodes read by quorvane-recognize, a process of its own,
// started for the first picture and kept until released: its engine stays
// warm between pictures, and its memory leaves with it. A helper that
// crashes, hangs past `patience` or cannot be started reads nothing, is
// logged, and is started afresh for the next picture. Not thread-safe:
// call it from one executor; the destructor ends the helper.
class RecognitionHelper final : public TextRecognizer, public BarcodeReader {
  public:
    RecognitionHelper(Log& log, std::filesystem::path program,
                      std::chrono::milliseconds patience = std::chrono::seconds(60));
    ~RecognitionHelper() override;
    RecognitionHelper(const RecognitionHelper&) = delete;
    RecognitionHelper& operator=(const RecognitionHelper&) = delete;

    std::optional<std::string> recognizeText(const std::string& image) override;
    std::optional<std::string> readBarcode(const std::string& image) override;
    // Ends the helper, and with it all it holds.
    void release() override;

    // The helper's process id while it runs.
    std::optional<pid_t> helper() const;

  private:
    std::optional<std::string> ask(char kind, const std::string& image);
    bool start();
    void end(bool kill);

    Log& log_;
    std::filesystem::path program_;
    // The reader failed on a picture's text: its barcode, asked next, is
    // not tried on a reader started again only to fail the same way.
    bool textFailed_ = false;
    std::chrono::milliseconds patience_;
    HelperProcess helper_;
};

}  // namespace quorvane::platform::posix
