#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane::platform {

// The keyboard layout in use: what a key types with no modifier held
// (Shift included), as its cap is labelled. Main thread.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // UTF-8, one character; empty when the key types none (arrows,
    // modifiers, keys the layout leaves out). Valid until the next call.
    virtual std::string_view baseCharacter(std::uint16_t keyCode) const = 0;
};

}  // namespace quorvane::platform
