#pragma once

namespace quorvane::platform {

// A desktop's own "show the desktop": every window moved aside at once,
// and back when the user asks. Main thread.
class DesktopReveal {
  public:
    virtual ~DesktopReveal() = default;
    // Answers whether the desktop does it; false leaves the windows as
    // they were, for the caller to minimize one by one.
    virtual bool showDesktop() = 0;
    // Whether the desktop is shown now, the windows moved aside.
    virtual bool isShowingDesktop() = 0;
    // Puts the windows back; answers whether the desktop does it.
    virtual bool showWindows() = 0;
};

}  // namespace quorvane::platform
