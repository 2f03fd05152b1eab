#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform::x11 {

// What keeps a person from their desktop while it lasts, for the program's
// own windows (on Qt's connection to the X server): the keyboard and the
// pointer grabbed for them, or windows that cover the screens and take
// every key. Each is watched: when the main thread stops answering for
// `EventTaps::watchdogLimit`, a thread of the X11 module ends the grab and
// unmaps the windows itself, and `ended` is told once the main thread is
// back. Made by the X11 module (see X11Session.hpp); main thread only.
class WindowHolds {
  public:
    using Ended = std::function<void(const std::string& why)>;
    // One hold; dropping it ends it, without `ended`.
    class Hold {
      public:
        virtual ~Hold() = default;
    };

    virtual ~WindowHolds() = default;
    // Grabs the keyboard and the pointer for `windows` (shown): what happens
    // over them goes to them, the rest to the first. Refused while another
    // program holds either.
    virtual Result<std::unique_ptr<Hold>> grab(std::span<const std::uint32_t> windows,
                                               Ended ended) = 0;
    // Watches shown windows that take every key, grabbing nothing.
    virtual std::unique_ptr<Hold> cover(std::span<const std::uint32_t> windows, Ended ended) = 0;
    // Watches shown windows for which the toolkit grabbed the keyboard and
    // the pointer itself (a popup): letting go ends that grab as well.
    virtual std::unique_ptr<Hold> watchGrab(std::span<const std::uint32_t> windows,
                                            Ended ended) = 0;
};

// Where an adapter finds the holds the first time it needs them; nothing
// off X11, where Qt's own grabs serve.
using WindowHoldsSource = std::function<WindowHolds*()>;

}  // namespace quorvane::platform::x11
