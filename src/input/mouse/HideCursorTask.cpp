#include "input/mouse/HideCursorTask.hpp"

#include <algorithm>

namespace quorvane::input {

std::optional<platform::Point> HideCursorTask::parkingPoint(std::span<const platform::Screen> screens) {
    if (screens.empty())
        return std::nullopt;
    platform::Point corner{screens.front().frame.maxX(), screens.front().frame.maxY()};
    for (const auto& screen : screens)
        corner = {std::max(corner.x, screen.frame.maxX()), std::max(corner.y, screen.frame.maxY())};
    return corner;
}

core::RunOutcome HideCursorTask::run() {
    auto& poster = services_.input.poster;
    const auto screens = services_.input.windows.screens.screens();
    if (previousLocation_) {
        if (auto back = poster.warpCursor(id(), *previousLocation_, screens); !back) {
            services_.input.log.warning(id(), "cannot bring the pointer back: " + back.error().message);
            // Still parked: the next run tries again.
            return core::RunOutcome::refused("cannot bring the pointer back: " + back.error().message);
        }
        previousLocation_.reset();
        return core::RunOutcome::done();
    }
    const auto parking = parkingPoint(screens);
    if (!parking)
        return core::RunOutcome::refused("there is no screen to park the pointer on");
    const auto here = services_.input.monitors.mouseLocation();
    if (auto parked = poster.warpCursor(id(), *parking, screens); !parked) {
        services_.input.log.warning(id(), "cannot park the pointer: " + parked.error().message);
        return core::RunOutcome::refused("cannot park the pointer: " + parked.error().message);
    }
    previousLocation_ = here;
    return core::RunOutcome::done();
}

}  // namespace quorvane::input
