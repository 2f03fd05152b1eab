#pragma once

#include <nlohmann/json.hpp>

#include "control/ControlCommands.hpp"
#include "wiring/DesktopSession.hpp"
#include "platform/MainQueue.hpp"
#include "access/AppService.hpp"

namespace quorvane::app {

// What the desktop's ports see, as the "desktop" command answers it:
// screens, applications and the frontmost, windows front to back, and the
// element under the pointer.
nlohmann::json describeDesktop(DesktopSession& desktop, const windows::AppService& apps);
// The same, for a person.
std::string desktopText(const nlohmann::json& snapshot);
// One event a global monitor received, for "desktop --watch".
std::string eventText(const nlohmann::json& event);

// Binds "desktop" and "desktopWatch" over the session's ports, and "sim"
// when the desktop is the simulated one. A watch's monitor is journaled
// like a tweak's.
void bindDesktopCommands(ControlCommands& commands, DesktopSession& desktop,
                         const windows::AppService& apps, platform::MainQueue& mainQueue,
                         platform::Journal& journal, platform::Log& log);

}  // namespace quorvane::app
