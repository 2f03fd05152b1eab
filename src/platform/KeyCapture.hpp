#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/InputEvent.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform {

// Takes a few keys away from every application for a while, without taking
// the keyboard focus: what a floating list that must not steal the focus
// (the emoji shortcode list) uses for its arrows, Return and Escape. Every
// other key still reaches the application with the focus. Main thread; the
// handler is called there, with key downs only.
class KeyCapture {
  public:
    using Handler = std::function<void(const InputEvent&)>;

    virtual ~KeyCapture() = default;
    // Takes the keys (Mac key codes), pressed with or without Caps Lock and
    // Num Lock, replacing an earlier capture. A key this keyboard lacks, or
    // that another program holds, is left out: the answer names it, and the
    // keys that could be taken stay taken.
    virtual Status capture(std::span<const std::uint16_t> keyCodes, Handler handler) = 0;
    // Gives every key back. Safe to call from the handler, and when nothing
    // is captured.
    virtual void release() = 0;
};

}  // namespace quorvane::platform
