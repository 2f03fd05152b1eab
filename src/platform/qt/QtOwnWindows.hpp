#pragma once

namespace quorvane::platform::qt {

// Minimizes this program's titled windows that are shown; panels, menus and
// borderless overlays stay.
void minimizeOwnWindows();

}  // namespace quorvane::platform::qt
