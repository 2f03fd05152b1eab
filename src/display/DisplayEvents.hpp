#pragma once

#include "core/Signal.hpp"
#include "platform/Displays.hpp"
#include "platform/SystemEvents.hpp"

namespace quorvane::display {

// What the display tweaks follow: displays that come, go, move or change
// their headroom, and screens waking from sleep. Main thread.
class DisplayEvents {
  public:
    static constexpr const char* screensDidWake = "NSWorkspaceScreensDidWakeNotification";

    DisplayEvents(platform::Displays& displays, platform::SystemEvents& systemEvents)
        : displays_(displays), systemEvents_(systemEvents) {}
    ~DisplayEvents() { stop(); }
    DisplayEvents(const DisplayEvents&) = delete;
    DisplayEvents& operator=(const DisplayEvents&) = delete;

    void start();
    void stop();

    core::Signal<> screensChanged;
    core::Signal<> screensWoke;

  private:
    platform::Displays& displays_;
    platform::SystemEvents& systemEvents_;
    platform::Displays::Token displaysToken_ = 0;
    platform::SystemEvents::Token wakeToken_ = 0;
    bool started_ = false;
};

}  // namespace quorvane::display
