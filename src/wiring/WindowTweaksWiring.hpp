#pragma once

#include "wiring/DisplayWiring.hpp"
#include "wiring/InputWiring.hpp"
#include "wiring/SharedServices.hpp"
#include "wiring/WindowsWiring.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "windows/WindowTweakServices.hpp"

namespace quorvane::app {

// The window tweaks: the window services, the mouse, and the display
// folder's overlay windows and desktop pictures.
class WindowTweaksWiring {
  public:
    WindowTweaksWiring(SharedServices& shared, WindowsWiring& windows, InputWiring& input,
                       DisplayWiring& display);

    void addTweaks(core::TweakFactory& factory);

  private:
    windows::WindowTweakServices services_;
};

}  // namespace quorvane::app
