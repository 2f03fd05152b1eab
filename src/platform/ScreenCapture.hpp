#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quorvane::platform {

// The user drags out a region of the screen; its picture arrives later on
// the main queue as the bytes of an image file (PNG), or nothing when the
// selection was cancelled. The caller never waits: the main thread keeps
// running while the user selects. Main thread.
class ScreenCapture {
  public:
    using Done = std::function<void(std::optional<std::string> image)>;

    virtual ~ScreenCapture() = default;
    // A capture asked for while one is open is refused: `done` gets nothing.
    virtual void captureRegion(Done done) = 0;
};

// The text in a picture (an image file's bytes): each line followed by
// "\n"; absent when none is found. Blocks: call it from one background
// executor.
class TextRecognizer {
  public:
    virtual ~TextRecognizer() = default;
    virtual std::optional<std::string> recognizeText(const std::string& image) = 0;
    // Lets go of what the engine keeps between pictures (its models, tens
    // of megabytes); the next picture loads them again. On the thread that
    // recognises.
    virtual void release() {}
};

// The text of the first barcode or QR code in a picture; absent when there
// is none, or when its content is not text. Blocks: call it from one
// background executor.
class BarcodeReader {
  public:
    virtual ~BarcodeReader() = default;
    virtual std::optional<std::string> readBarcode(const std::string& image) = 0;
};

}  // namespace quorvane::platform
