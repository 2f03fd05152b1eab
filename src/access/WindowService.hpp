#pragma once

#include <optional>

#include "platform/Accessibility.hpp"
#include "platform/Geometry.hpp"

namespace quorvane::windows {

// Finds the window under a point.
class WindowService {
  public:
    WindowService(platform::Accessibility& accessibility, const platform::Screens& screens)
        : accessibility_(accessibility), screens_(screens) {}

    // `point` in Cocoa space (where the mouse location is): the window's
    // element, found through the element there, its parent, or its window
    // attribute. Absent over the desktop, the menu bar, or nothing.
    std::optional<platform::Element> window(platform::Point point);

  private:
    platform::Accessibility& accessibility_;
    const platform::Screens& screens_;
};

}  // namespace quorvane::windows
