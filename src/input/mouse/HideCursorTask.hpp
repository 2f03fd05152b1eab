#pragma once

#include <optional>
#include <span>

#include "core/Tweak.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

// Parks the pointer in the top-right corner of the desktop, out of the
// way; the next run puts it back exactly where it was. A warp makes no
// move event, so it stays parked until the user moves it.
class HideCursorTask final : public core::BuiltinTweak {
  public:
    HideCursorTask(core::TweakInfo info, MouseTweakServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;
    bool isParked() const { return previousLocation_.has_value(); }

    // The top-right-most corner of the desktop (Cocoa space): the right-most
    // edge and the highest top of all screens.
    static std::optional<platform::Point> parkingPoint(std::span<const platform::Screen> screens);

  private:
    MouseTweakServices& services_;
    std::optional<platform::Point> previousLocation_;  // Cocoa space
};

}  // namespace quorvane::input
