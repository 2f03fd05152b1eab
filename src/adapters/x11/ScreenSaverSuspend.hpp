#pragma once

#include "platform/AwakeHolder.hpp"

namespace quorvane::platform::x11 {

// Holds the X server's own screen saver and display power management
// (DPMS) off, through the screen-saver extension's Suspend, for a session
// with no screen-saver service to ask. Each hold is a connection of its
// own: the server ends a suspension when its client goes, so the saver
// comes back however the program ends.
class ScreenSaverSuspend final : public AwakeHolder {
  public:
    Result<std::unique_ptr<Hold>> hold(const std::string& why) override;
};

}  // namespace quorvane::platform::x11
