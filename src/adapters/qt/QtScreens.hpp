#pragma once

#include "platform/Geometry.hpp"

namespace quorvane::platform::qt {

// The screens as Qt lists them, the primary one first, in Cocoa space:
// accessibility space starts at the primary screen's corner, wherever that
// lies in the virtual desktop.
class QtScreens final : public Screens {
  public:
    std::vector<Screen> screens() const override;
    // The primary screen in the virtual desktop's (the root window's)
    // coordinates.
    static Rect primaryRootFrame();
};

}  // namespace quorvane::platform::qt
