#pragma once

#include "platform/ActsOn.hpp"
#include "platform/DesktopSettings.hpp"
#include <string_view>

namespace quorvane::app {

// Says, per port, which adapter this machine gets, by one rule: on a
// desktop session, a port Linux has an equivalent of acts on this desktop,
// or is unavailable with the reason when this machine lacks the service
// (no sound server, no BlueZ; in a Wayland session, other programs' windows,
// input and screen): never the simulated Mac in its place. Only
// macOS's own ports (its preferences, AppleScript, its tools) act on the
// simulated Mac there. Without a desktop session, or when
// QUORVANE_DESKTOP=simulated asks, every port is the simulated Mac's.
// `sessionKind`: the desktop session's kind ("X11", "Wayland", or
// "simulated");
// `settings`: the desktop's settings, probed for the keys the tweaks use.
void reportAdapterChoices(platform::AdapterChoices& choices, std::string_view sessionKind,
                          const platform::DesktopSettings& settings);

// Why a session acts only on the simulated Mac.
const char* simulatedSessionReason();

// Whether a Wayland compositor runs the session, even when this program
// talks X11 to its XWayland: what XWayland holds (its screen saver) does
// not hold the session.
bool runsUnderWaylandCompositor();

}  // namespace quorvane::app
