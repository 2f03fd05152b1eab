#include "core/automation/AutomationViewModel.hpp"

namespace quorvane::core {

std::vector<AutomationViewModel::Section> AutomationViewModel::sections(
    const Automation& automation, const Catalogue& catalogue) {
    std::vector<Section> sections;
    for (auto event : allAutomationEvents) {
        Section section{event, {}};
        for (const auto& reaction : automation.reactions)
            if (reaction.event == event)
                if (auto tweak = catalogue.find(reaction.tweakId))
                    section.items.push_back({reaction, std::move(tweak)});
        sections.push_back(std::move(section));
    }
    return sections;
}

}  // namespace quorvane::core
