#pragma once

#include "input/monitoring/InputPoster.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "windows/WindowsServices.hpp"

namespace quorvane::input {

// What the keyboard and mouse tweaks are built from: the input streams,
// the poster that journals what they make, and the window services.
struct InputServices {
    platform::EventMonitors& monitors;
    platform::LocalEventMonitors& localMonitors;
    platform::EventTaps& taps;
    InputPoster& poster;
    platform::Journal& journal;
    platform::Log& log;
    windows::WindowsServices& windows;
};

}  // namespace quorvane::input
