#include "core/automation/AutomationManager.hpp"

#include <algorithm>
#include <set>

#include "core/CanToggle.hpp"

namespace quorvane::core {

namespace {

template <class Reactions>
auto findReaction(Reactions& reactions, const std::string& tweakId, Automation::Event event) {
    return std::find_if(reactions.begin(), reactions.end(), [&](const auto& reaction) {
        return reaction.event == event && reaction.tweakId == tweakId;
    });
}

}  // namespace

AutomationManager::AutomationManager(const Catalogue& catalogue, Persistor& persistor,
                                     platform::SystemEvents& events, platform::Log& log)
    : catalogue_(catalogue), events_(events), log_(log) {
    registration_ = persistor.registerPublished(recordKey, automation);
    dropDuplicateRules();
    observeRuledEvents();
    rulesChanged_ = automation.subscribe([this](const Automation&) { observeRuledEvents(); });
}

void AutomationManager::observeRuledEvents() {
    const auto& reactions = automation->reactions;
    for (auto event : allAutomationEvents) {
        const bool ruled = std::any_of(reactions.begin(), reactions.end(),
                                       [event](const auto& reaction) { return reaction.event == event; });
        const auto observed = observers_.find(event);
        if (ruled && observed == observers_.end()) {
            const auto notification = notificationOf(event);
            observers_.emplace(event, events_.observe(notification.center,
                                                      std::string(notification.name),
                                                      [this, event] { handle(event); }));
        } else if (!ruled && observed != observers_.end()) {
            events_.removeObserver(observed->second);
            observers_.erase(observed);
        }
    }
}

// One rule per tweak and event, as editing keeps them: a stored record with
// more (written by hand, or by another program) keeps the first of each.
void AutomationManager::dropDuplicateRules() {
    auto rules = automation.get();
    std::set<std::pair<Automation::Event, std::string>> seen;
    const auto before = rules.reactions.size();
    std::erase_if(rules.reactions, [&seen](const Automation::Reaction& reaction) {
        return !seen.emplace(reaction.event, reaction.tweakId).second;
    });
    if (rules.reactions.size() == before)
        return;
    log_.warning("Automation", "dropped " + std::to_string(before - rules.reactions.size()) +
                                   " duplicate rules of the stored automation");
    automation.set(std::move(rules));
}

AutomationManager::~AutomationManager() {
    rulesChanged_.cancel();
    for (const auto& [event, token] : observers_)
        events_.removeObserver(token);
}

void AutomationManager::handle(Automation::Event event) {
    // A copy: a tweak run from here may change the rules.
    const auto reactions = automation->reactions;
    for (const auto& reaction : reactions)
        if (reaction.event == event)
            perform(reaction);
}

void AutomationManager::perform(const Automation::Reaction& reaction) {
    auto tweak = catalogue_.find(reaction.tweakId);
    if (!tweak)
        return;
    const std::string what = std::string(caseName(reaction.event)) + ": " +
                             std::string(title(reaction.action)) + " " + reaction.tweakId;
    switch (reaction.action) {
        case Automation::Action::toggleOn:
        case Automation::Action::toggleOff:
            // Setting the state alone would show the switch on while nothing
            // changed on the system: a changed state is applied at once. A
            // mirrored toggle compares with the system's real state, read
            // back first (its switch may never have been shown).
            if (asToggle(*tweak)) {
                log_.info("Automation", what);
                const bool on = reaction.action == Automation::Action::toggleOn;
                auto apply = [tweak, on] {
                    switchAndApply(*tweak, on, /*applyUnchanged=*/false);
                };
                if (asMToggle(*tweak))
                    tweak->refreshThen(apply);
                else
                    apply();
            }
            return;
        case Automation::Action::run:
            log_.info("Automation", what);
            if (const auto outcome = tweak->run(); !outcome.isDone())
                log_.info("Automation", tweak->name() + " did nothing: " + outcome.reason());
            return;
        case Automation::Action::none:
            return;
    }
}

void AutomationManager::setAction(Automation::Action action, const std::string& tweakId,
                                  Automation::Event event) {
    auto rules = automation.get();
    auto found = findReaction(rules.reactions, tweakId, event);
    if (found == rules.reactions.end())
        rules.reactions.push_back({event, tweakId, action});
    else
        found->action = action;
    automation.set(std::move(rules));
}

void AutomationManager::add(const std::string& tweakId, Automation::Event event) {
    const auto& reactions = automation->reactions;
    if (findReaction(reactions, tweakId, event) == reactions.end())
        setAction(Automation::Action::none, tweakId, event);
}

void AutomationManager::remove(const std::string& tweakId, Automation::Event event) {
    auto rules = automation.get();
    auto found = findReaction(rules.reactions, tweakId, event);
    if (found == rules.reactions.end())
        return;
    rules.reactions.erase(found);
    automation.set(std::move(rules));
}

}  // namespace quorvane::core
