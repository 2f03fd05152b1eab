#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/mouse/MouseTweakServices.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& keyboard,
                    MouseTweakServices& mouse);

}  // namespace quorvane::input
