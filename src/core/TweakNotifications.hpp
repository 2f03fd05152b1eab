#pragma once

#include <optional>

#include "core/Signal.hpp"

namespace quorvane::core {

// In-process announcements about tweaks, shared by every list.
struct TweakNotifications {
    // "taskDidRun": a tweak was run from a cell. The new state for a toggle,
    // nothing for a one-shot tweak.
    Signal<std::optional<bool>> taskDidRun;
};

}  // namespace quorvane::core
