#pragma once

#include <string>
#include <vector>

#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvane::core {

// What a "quorvane:" link may do without asking. A link can sit in any web
// page or document, so unlike a command typed in a terminal it is not the
// user speaking: running a one-shot or script tweak, or switching anything
// but a preference that switches straight back, is confirmed first, unless
// the user chose "Always allow from links" for that tweak.
enum class LinkDecision { allow, ask };

LinkDecision decideLink(const Tweak& tweak, bool isToggle, const platform::UserDefaults& defaults);

// The tweaks allowed from links without asking: a JSON array of ids.
inline constexpr TextSetting allowedFromLinksSetting{"LinkHandler.allowedTweaks", "[]"};
std::vector<std::string> tweaksAllowedFromLinks(const platform::UserDefaults& defaults);
void allowFromLinks(platform::UserDefaults& defaults, const std::string& tweakId);

}  // namespace quorvane::core
