#pragma once

#include "wiring/DesktopSession.hpp"
#include "wiring/SharedServices.hpp"
#include "access/WindowsServices.hpp"

namespace quorvane::app {

// The windows folder: the services over the desktop's window ports. The
// window tweaks are built from `services()`.
class WindowsWiring {
  public:
    WindowsWiring(SharedServices& shared, DesktopSession& desktop);

    windows::WindowsServices& services() { return owned_.services; }
    // Follows the frontmost application from launch on.
    void start();
    void stop();

  private:
    windows::OwnedWindowsServices owned_;
};

}  // namespace quorvane::app
