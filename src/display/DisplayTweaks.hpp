#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "display/DisplayServices.hpp"

namespace quorvane::display {

// Black out, dim, extra brightness, mirroring and arrangement.
void addDisplayTweaks(core::TweakFactory& factory, DisplayServices& services);

}  // namespace quorvane::display
