#include "display/DisplayEvents.hpp"

namespace quorvane::display {

void DisplayEvents::start() {
    if (started_)
        return;
    started_ = true;
    displaysToken_ = displays_.observeChanges([this] { screensChanged.emit(); });
    wakeToken_ = systemEvents_.observe(platform::NotificationCenter::workspace, screensDidWake,
                                       [this] { screensWoke.emit(); });
}

void DisplayEvents::stop() {
    if (!started_)
        return;
    started_ = false;
    displays_.removeObserver(displaysToken_);
    systemEvents_.removeObserver(wakeToken_);
}

}  // namespace quorvane::display
