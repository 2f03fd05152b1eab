#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SystemEvents.hpp"

namespace quorvane::core {

// The user's rules for system events, stored under
// "AutomationManager.automation" as {"reactions":[...]}.
struct Automation {
    // Stored by case name; iterated in this order.
    enum class Event {
        willSleep,
        didWake,
        willPowerOff,
        screenSaverStart,
        screenSaverStop,
        screenLocked,
        screenUnlocked,
    };

    // Stored by case name.
    enum class Action { toggleOn, toggleOff, run, none };

    struct Reaction {
        Event event = Event::willSleep;
        std::string tweakId;
        Action action = Action::none;

        bool operator==(const Reaction&) const = default;
    };

    std::vector<Reaction> reactions;

    bool operator==(const Automation&) const = default;
};

inline constexpr std::array allAutomationEvents{
    Automation::Event::willSleep,       Automation::Event::didWake,
    Automation::Event::willPowerOff,    Automation::Event::screenSaverStart,
    Automation::Event::screenSaverStop, Automation::Event::screenLocked,
    Automation::Event::screenUnlocked,
};

inline constexpr std::array allAutomationActions{
    Automation::Action::toggleOn,
    Automation::Action::toggleOff,
    Automation::Action::run,
    Automation::Action::none,
};

// The system notification an event is bound to, and where it is posted.
struct EventNotification {
    platform::NotificationCenter center;
    std::string_view name;
};

std::string_view caseName(Automation::Event event);
std::string_view caseName(Automation::Action action);
// The section title of the Automation page ("Screen Locked").
std::string_view title(Automation::Event event);
// The picker's title ("Turn On").
std::string_view title(Automation::Action action);
EventNotification notificationOf(Automation::Event event);
std::optional<Automation::Event> eventFromNotification(std::string_view name);

void to_json(nlohmann::json& json, Automation::Event event);
void from_json(const nlohmann::json& json, Automation::Event& event);
void to_json(nlohmann::json& json, Automation::Action action);
void from_json(const nlohmann::json& json, Automation::Action& action);
void to_json(nlohmann::json& json, const Automation::Reaction& reaction);
void from_json(const nlohmann::json& json, Automation::Reaction& reaction);
void to_json(nlohmann::json& json, const Automation& automation);
void from_json(const nlohmann::json& json, Automation& automation);

}  // namespace quorvane::core
