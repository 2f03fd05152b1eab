#pragma once

#include "input/monitoring/InputPoster.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/MainQueue.hpp"
#include "core/Store.hpp"
#include "access/WindowsServices.hpp"

namespace quorvane::input {

// What the keyboard and mouse tweaks are built from: the input streams,
// the poster that journals what they make, the window services below
// them, and the Store and main queue they keep their state on.
struct InputServices {
    platform::EventMonitors& monitors;
    platform::LocalEventMonitors& localMonitors;
    platform::EventTaps& taps;
    InputPoster& poster;
    platform::Journal& journal;
    platform::Log& log;
    windows::WindowsServices& windows;
    core::Store& store;
    platform::MainQueue& mainQueue;
};

}  // namespace quorvane::input
