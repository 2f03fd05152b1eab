#pragma once

#include "platform/Geometry.hpp"

namespace quorvane::platform::qt {

// Minimizes this program's titled windows that are shown; panels, menus and
// borderless overlays stay.
void minimizeOwnWindows();

// Whether one of our titled windows has the focus and holds `cocoa` (a
// point in Cocoa space): where a click would land in our own window.
bool keyWindowUnder(Point cocoa);

}  // namespace quorvane::platform::qt
