#pragma once

#include <optional>
#include <string>

#include "core/Debouncer.hpp"
#include "core/Tweak.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// The user drags out a region of the screen; the text in it, or else the
// text of a barcode or QR code in it, goes on the pasteboard. Needs the
// Screen Recording permission; shows nothing on success or failure. The
// recognition engine stays loaded for a minute after a picture, so that
// the next one is quick, and is then let go.
class ExtractTextTask final : public core::BuiltinTweak {
  public:
    static constexpr auto keepEngine = std::chrono::minutes(1);

    ExtractTextTask(core::TweakInfo info, TextServices& services)
        : BuiltinTweak(std::move(info)), services_(services), letGo_(services.mainQueue, keepEngine) {}

    core::RunOutcome run() override;

  private:
    void captured(std::optional<std::string> image);

    TextServices& services_;
    core::Debouncer letGo_;
};

}  // namespace quorvane::text
