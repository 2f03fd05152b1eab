#include "core/intents/LinkPolicy.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace quorvane::core {

std::vector<std::string> tweaksAllowedFromLinks(const platform::UserDefaults& defaults) {
    const auto stored = nlohmann::json::parse(allowedFromLinksSetting.read(defaults), nullptr, false);
    std::vector<std::string> ids;
    if (!stored.is_array())
        return ids;
    for (const auto& id : stored)
        if (id.is_string())
            ids.push_back(id.get<std::string>());
    return ids;
}

void allowFromLinks(platform::UserDefaults& defaults, const std::string& tweakId) {
    auto ids = tweaksAllowedFromLinks(defaults);
    if (std::find(ids.begin(), ids.end(), tweakId) != ids.end())
        return;
    ids.push_back(tweakId);
    allowedFromLinksSetting.write(defaults, nlohmann::json(ids).dump(-1, ' ', false,
                                                                     nlohmann::json::error_handler_t::replace));
}

LinkDecision decideLink(const Tweak& tweak, bool isToggle, const platform::UserDefaults& defaults) {
    if (isToggle && tweak.isReversiblePreference())
        return LinkDecision::allow;
    const auto allowed = tweaksAllowedFromLinks(defaults);
    return std::find(allowed.begin(), allowed.end(), tweak.id()) != allowed.end()
               ? LinkDecision::allow
               : LinkDecision::ask;
}

}  // namespace quorvane::core
