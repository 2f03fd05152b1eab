#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "windows/WindowTweakServices.hpp"

namespace quorvane::windows {

// Snapping, shaking, hiding and focusing, and the active-window highlight.
void addWindowTweaks(core::TweakFactory& factory, WindowTweakServices& services);

}  // namespace quorvane::windows
