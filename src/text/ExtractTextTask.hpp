#pragma once

#include <optional>
#include <string>

#include "core/Tweak.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// What a picture gives to copy: its text, else the text of a barcode in it.
std::optional<std::string> textOfPicture(platform::TextRecognizer& text,
                                         platform::BarcodeReader& barcodes, const std::string& image);

// The user drags out a region of the screen; the text in it, or else the
// text of a barcode or QR code in it, goes on the pasteboard. Needs the
// Screen Recording permission; shows nothing on success or failure.
class ExtractTextTask final : public core::BuiltinTweak {
  public:
    ExtractTextTask(core::TweakInfo info, TextServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    void run() override;

  private:
    void captured(std::optional<std::string> image);

    TextServices& services_;
};

}  // namespace quorvane::text
