#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/InputEvent.hpp"
#include "platform/KeyboardLayout.hpp"
#include "platform/Overlays.hpp"

namespace quorvane::input {

// One key cap of the keystroke strip.
struct KeyCap {
    enum class Role { modifier, normal };
    // As the strip draws it.
    using Alignment = platform::OverlayKeyCap::Alignment;

    std::string title{};     // the big symbol or character; may be empty
    std::string subtitle{};  // the small caption; may be empty
    Role role = Role::normal;
    std::uint16_t keyCode = 0;
    Alignment alignment = Alignment::center;
    int widthScale = 1;  // in normal caps: 1, 2 or 4
    bool operator==(const KeyCap&) const = default;
};

// The caps of one event, in display order: at most the six modifiers and
// one key. Fixed storage: building them allocates nothing (the texts are
// short enough to live inside their strings).
class KeyCaps {
  public:
    static constexpr std::size_t capacity = 7;

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const KeyCap* begin() const { return caps_.data(); }
    const KeyCap* end() const { return caps_.data() + count_; }
    const KeyCap& operator[](std::size_t index) const { return caps_[index]; }
    void clear() { count_ = 0; }
    KeyCap& append() { return caps_[count_++]; }
    // Keeps the modifier caps only (they come first: at most one key
    // follows them).
    void keepModifiers() {
        while (count_ > 0 && caps_[count_ - 1].role != KeyCap::Role::modifier)
            --count_;
    }

  private:
    std::array<KeyCap, capacity> caps_{};
    std::size_t count_ = 0;
};

// The caps an event shows: a cap per modifier flag held (function only off
// the arrow keys, which carry it), then, for a key down, the key's own cap.
// A key outside the named ones is labelled with what it types with no
// modifier in `layout` (none: the event's first character). Pure.
void capsOf(const platform::InputEvent& event, const platform::KeyboardLayout* layout,
            KeyCaps& into);

}  // namespace quorvane::input
