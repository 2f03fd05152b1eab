#pragma once

#include <optional>
#include <string>

#include "core/RunOutcome.hpp"
#include "core/Signal.hpp"

namespace quorvane::core {

// In-process announcements about tweaks, shared by every list.
struct TweakNotifications {
    // "taskDidRun": a tweak was run from a cell. The new state for a toggle,
    // nothing for a one-shot tweak.
    Signal<std::optional<bool>> taskDidRun;
    // A tweak run or switched from a cell did nothing: refused, or not
    // available here, with why.
    Signal<RunOutcome> taskRefused;
};

}  // namespace quorvane::core
