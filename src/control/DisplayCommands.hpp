#pragma once

#include <nlohmann/json.hpp>

#include "control/ControlCommands.hpp"
#include "wiring/DesktopSession.hpp"
#include "platform/Overlays.hpp"
#include "simmac/SimCameras.hpp"

namespace quorvane::app {

// The displays as the desktop's adapter sees them, frames in accessibility
// space: id, name, frame, main, mirroring, headroom.
nlohmann::json describeDisplays(DesktopSession& desktop);
std::string displaysText(const nlohmann::json& displays);
// The overlay windows shown now.
nlohmann::json describeOverlays(const platform::Overlays& overlays);
std::string overlaysText(const nlohmann::json& overlays);

// Binds "displays" and "overlays", and "simCamera" over the simulated
// Mac's cameras when there are some.
void bindDisplayCommands(ControlCommands& commands, DesktopSession& desktop,
                         const platform::Overlays& overlays, platform::sim::SimCameras* cameras);

}  // namespace quorvane::app
