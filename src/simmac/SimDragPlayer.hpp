#pragma once

#include <functional>

#include "platform/MainQueue.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::platform::sim {

// Plays a `sim drag` in time, as a hand on a mouse would: one event every
// 8 ms on the main queue, waiting the command's pause at each of its points
// after the first with the button held, so that what watches the drag
// (debounced checks, hover updates) sees it as it happens. `done` is called
// once the button is up.
void playDrag(SimWindowServer& desktop, MainQueue& queue, const SimDesktopCommand& command,
              std::function<void()> done);

inline constexpr auto dragEventInterval = std::chrono::milliseconds(8);

}  // namespace quorvane::platform::sim
