#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// Extra items of this program in the menu bar (beside its own status item),
// such as the emoji picker's. Main thread.
class StatusBar {
  public:
    using Token = std::uint64_t;
    static constexpr double squareLength = 0;  // as wide as the bar is high
    struct Item {
        std::string name;   // what the item is called: tooltip and accessible name
        std::string image;  // a template image the program draws ("emojiPickerMenuBarIcon")
        // A click, with the item's frame in Cocoa space to hang a popover from.
        std::function<void(Rect frame)> clicked;
        double length = squareLength;  // points
    };

    virtual ~StatusBar() = default;
    virtual Token addItem(Item item) = 0;
    // Unknown tokens are ignored.
    virtual void removeItem(Token token) = 0;
    // A new width for the item; in a menu bar, the items to its left move
    // over (and off the screen's edge when pushed far enough).
    virtual void setLength(Token token, double length) = 0;
    // The frame of the item's button window, Cocoa space; none when it is
    // not on screen or the token is unknown.
    virtual std::optional<Rect> buttonFrame(Token token) const = 0;
    // Whether an item's length moves the others: a menu bar lays its items
    // out side by side; a tray decides itself where and how wide icons are.
    virtual bool lengthsMoveOtherItems() const = 0;
};

}  // namespace quorvane::platform
