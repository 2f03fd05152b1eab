#include "core/TweakGroup.hpp"

#include <algorithm>
#include <functional>

#include "core/WorkflowMembership.hpp"

namespace quorvane::core {

bool isNewTweak(std::string_view id) {
    return std::find(newTweakIds.begin(), newTweakIds.end(), id) != newTweakIds.end();
}

bool isPopularTweak(std::string_view id) {
    return std::find(popularTweakIds.begin(), popularTweakIds.end(), id) != popularTweakIds.end();
}

bool TweakGroup::includes(const Tweak& tweak, const Preference& preference) const {
    switch (kind_) {
        case Kind::category: {
            const auto& categories = tweak.categories();
            return std::find(categories.begin(), categories.end(), *categoryValue()) !=
                   categories.end();
        }
        case Kind::workflow:
            return isMember(tweak.id(), workflowValue()->id, preference);
        case Kind::all:
        case Kind::random:
            return true;
        case Kind::new_:
            return isNewTweak(tweak.id());
        case Kind::popular:
            return isPopularTweak(tweak.id());
    }
    return false;
}

std::string TweakGroup::title() const {
    switch (kind_) {
        case Kind::category:
            return std::string(rawValue(*categoryValue()));
        case Kind::workflow:
            return workflowValue()->name;
        case Kind::all:
            return "All";
        case Kind::new_:
            return "New";
        case Kind::popular:
            return "Popular";
        case Kind::random:
            return "Random";
    }
    return {};
}

}  // namespace quorvane::core

std::size_t std::hash<quorvane::core::TweakGroup>::operator()(
    const quorvane::core::TweakGroup& group) const noexcept {
    std::size_t seed = std::hash<int>{}(static_cast<int>(group.kind()));
    auto combine = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    if (auto category = group.categoryValue())
        combine(std::hash<int>{}(static_cast<int>(*category)));
    if (auto workflow = group.workflowValue()) {
        for (const auto* field :
             {&workflow->id, &workflow->name, &workflow->icon, &workflow->colorHex})
            combine(std::hash<std::string>{}(*field));
    }
    return seed;
}
