#pragma once

#include <functional>
#include <memory>

#include "adapters/x11/X11Session.hpp"
#include "platform/HotkeyRegistry.hpp"

namespace quorvane::platform::qt {

// Global hotkeys in an X11 session. The keys are grabbed through the X11
// module, connected at the first grab: a user without global shortcuts
// never loads it for them. A display that cannot be reached refuses the
// grab, and the next grab tries again. Main thread only.
class X11Hotkeys final : public HotkeyRegistry {
  public:
    // Connects the grabs, passing them where presses go; nothing when the
    // display cannot be reached.
    using Connect = std::function<std::unique_ptr<x11::KeyGrabs>(x11::KeyGrabs::Pressed)>;

    X11Hotkeys(UserDefaults& defaults, Log& log, Connect connect)
        : HotkeyRegistry(defaults, log), connect_(std::move(connect)) {}

    // Whether the grabs are connected (after the first grab).
    bool isConnected() const { return grabs_ != nullptr; }

  protected:
    Status grab(const KeyCombination& combination) override;
    void release(const KeyCombination& combination) override;

  private:
    Connect connect_;
    std::unique_ptr<x11::KeyGrabs> grabs_;
};

}  // namespace quorvane::platform::qt
