#pragma once

#include <map>
#include <string>

#include "core/Persistor.hpp"
#include "core/Published.hpp"
#include "core/automation/Automation.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "platform/Log.hpp"
#include "platform/SystemEvents.hpp"

namespace quorvane::core {

// Performs the user's rules when the system sleeps, wakes, powers off,
// starts or stops the screen saver, or locks or unlocks the screen. Made
// once at launch, after everything else. It observes only the events its
// rules name, so that an event no rule reacts to is not watched. Main
// thread only.
class AutomationManager {
  public:
    static constexpr const char* recordKey = "AutomationManager.automation";

    // Loads the stored rules at once and starts observing their events.
    AutomationManager(const Catalogue& catalogue, Persistor& persistor,
                      platform::SystemEvents& events, platform::Log& log);
    ~AutomationManager();
    AutomationManager(const AutomationManager&) = delete;
    AutomationManager& operator=(const AutomationManager&) = delete;

    // Every edit replaces the whole value, which the page observes.
    Published<Automation> automation;

    // Performs the event's reactions in stored order. A reaction whose tweak
    // no longer exists is skipped. "Turn On" and "Turn Off" act on toggles
    // only, and apply the new state when it changed; "Run" runs the tweak
    // as it is.
    void handle(Automation::Event event);

    // Sets the action of the reaction for this event and tweak, adding the
    // reaction at the end when there is none.
    void setAction(Automation::Action action, const std::string& tweakId, Automation::Event event);
    // "Add tweak": a new reaction does nothing until the user picks its
    // action. A tweak already in the event's list keeps the action it has.
    void add(const std::string& tweakId, Automation::Event event);
    // Removes the reaction for this event and tweak (the first, should the
    // stored rules hold two).
    void remove(const std::string& tweakId, Automation::Event event);

  private:
    void dropDuplicateRules();
    // Observes the events the rules name, and no other.
    void observeRuledEvents();
    void perform(const Automation::Reaction& reaction);

    const Catalogue& catalogue_;
    platform::SystemEvents& events_;
    platform::Log& log_;
    Persistor::Registration registration_;
    std::map<Automation::Event, platform::SystemEvents::Token> observers_;
    Subscription rulesChanged_;
};

}  // namespace quorvane::core
