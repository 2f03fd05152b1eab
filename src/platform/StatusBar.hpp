#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// Extra items of this program in the menu bar (beside its own status item),
// such as the emoji picker's. Main thread.
class StatusBar {
  public:
    using Token = std::uint64_t;
    struct Item {
        std::string name;   // what the item is called: tooltip and accessible name
        std::string image;  // a template image the program draws ("emojiPickerMenuBarIcon")
        // A click, with the item's frame in Cocoa space to hang a popover from.
        std::function<void(Rect frame)> clicked;
    };

    virtual ~StatusBar() = default;
    virtual Token addItem(Item item) = 0;
    // Unknown tokens are ignored.
    virtual void removeItem(Token token) = 0;
};

}  // namespace quorvane::platform
