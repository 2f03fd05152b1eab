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

void HideCursorTask::run() {
    auto& poster = services_.input.poster;
    if (previousLocation_) {
        if (auto back = poster.warpCursor(id(), *previousLocation_); !back) {
            services_.input.log.warning(id(), "cannot bring the pointer back: " + back.error().message);
            return;  // still parked: the next run tries again
        }
        previousLocation_.reset();
        return;
    }
    const auto screens = services_.input.windows.screens.screens();
    const auto parking = parkingPoint(screens);
    if (!parking)
        return;
    const auto here = services_.input.monitors.mouseLocation();
    if (auto parked = poster.warpCursor(id(), *parking); !parked) {
        services_.input.log.warning(id(), "cannot park the pointer: " + parked.error().message);
        return;
    }
    previousLocation_ = here;
}

}  // namespace quorvane::input
