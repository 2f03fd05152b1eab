#pragma once

#include <optional>
#include <string>

#include "core/Tweak.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// The user drags out a region of the screen; the text in it, or else the
// text of a barcode or QR code in it, goes on the pasteboard. Needs the
// Screen Recording permission; shows nothing on success or failure.
class ExtractTextTask final : public core::BuiltinTweak {
  public:
    ExtractTextTask(core::TweakInfo info, TextServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;

  private:
    void captured(std::optional<std::string> image);

    TextServices& services_;
};

}  // namespace quorvane::text
