#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& services);

}  // namespace quorvane::input
