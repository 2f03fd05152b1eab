#pragma once

#include <functional>

#include "core/StopList.hpp"
#include "input/InputServices.hpp"
#include "input/mouse/ScrollInterceptor.hpp"
#include "platform/Alerts.hpp"
#include "platform/Overlays.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::input {

// What the mouse tweaks add to the input streams: their settings, our
// overlay windows (the cursor ring), the front end's word on whether our
// main window is key under a point, and what the folder stops at exit.
struct MouseTweakServices {
    InputServices& input;
    platform::UserDefaults& defaults;
    platform::Overlays& overlays;
    core::StopList& stops;
    // Whether our main window is the key window and holds this point
    // (Cocoa space). None: it never is (no window, a command line run).
    std::function<bool(platform::Point)> mainWindowUnder{};
    // How a wheel is turned round here (none: it cannot be).
    ScrollInterceptor* scrollInterceptor = nullptr;
    // Where a refusal is explained (none: only logged).
    platform::Alerts* alerts = nullptr;
};

}  // namespace quorvane::input
