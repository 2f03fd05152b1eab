#pragma once

#include <memory>
#include <vector>

#include "core/automation/Automation.hpp"
#include "core/catalogue/Catalogue.hpp"

namespace quorvane::core {

// What the Automation page shows: one section per event, in event order,
// each listing its reactions in stored order. Reactions whose tweak no
// longer exists (a deleted script) are kept in the rules but not shown.
struct AutomationViewModel {
    struct Item {
        Automation::Reaction reaction;
        std::shared_ptr<Tweak> tweak;
    };
    struct Section {
        Automation::Event event;
        std::vector<Item> items;  // empty: "No tweaks yet"
    };

    static std::vector<Section> sections(const Automation& automation, const Catalogue& catalogue);
};

}  // namespace quorvane::core
