#pragma once

namespace quorvane::platform::x11 {

// Whether a compositing manager runs on the display's default screen (it
// owns the _NET_WM_CM_S<screen> selection): only then are see-through
// windows drawn see-through. False without an X server.
bool compositingManagerRunning();

}  // namespace quorvane::platform::x11
