#pragma once

#include "core/catalogue/TweakFactory.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

void addTextTweaks(core::TweakFactory& factory, TextServices& services);

}  // namespace quorvane::text
