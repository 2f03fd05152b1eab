#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// Black out, dim, extra brightness, mirroring, arrangement and the notch.
void addDisplayTweaks(core::TweakFactory& factory, DisplayServices& services);

}  // namespace quorvane::display
