#include "core/automation/Automation.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::core {

namespace {

struct EventRow {
    Automation::Event event;
    std::string_view caseName;
    std::string_view title;
    EventNotification notification;
};

using platform::NotificationCenter;
using enum Automation::Event;

// The screen saver's stop notification really is spelt "didStop", unlike
// its start.
constexpr std::array<EventRow, 7> eventRows{{
    {willSleep,
     "willSleep",
     "System Sleep",
     {NotificationCenter::workspace, "NSWorkspaceWillSleepNotification"}},
    {didWake,
     "didWake",
     "System Wake",
     {NotificationCenter::workspace, "NSWorkspaceDidWakeNotification"}},
    {willPowerOff,
     "willPowerOff",
     "System Logoff",
     {NotificationCenter::workspace, "NSWorkspaceWillPowerOffNotification"}},
    {screenSaverStart,
     "screenSaverStart",
     "Screensaver Start",
     {NotificationCenter::distributed, "com.apple.screensaver.didstart"}},
    {screenSaverStop,
     "screenSaverStop",
     "Screensaver Stop",
     {NotificationCenter::distributed, "com.apple.screensaver.didStop"}},
    {screenLocked,
     "screenLocked",
     "Screen Locked",
     {NotificationCenter::distributed, "com.apple.screenIsLocked"}},
    {screenUnlocked,
     "screenUnlocked",
     "Screen Unlocked",
     {NotificationCenter::distributed, "com.apple.screenIsUnlocked"}},
}};

const EventRow& rowOf(Automation::Event event) {
    return eventRows[static_cast<std::size_t>(event)];
}

struct ActionRow {
    std::string_view caseName;
    std::string_view title;
};

constexpr std::array<ActionRow, 4> actionRows{{
    {"toggleOn", "Turn On"},
    {"toggleOff", "Turn Off"},
    {"run", "Run"},
    {"none", "None"},
}};

}  // namespace

std::string_view caseName(Automation::Event event) {
    return rowOf(event).caseName;
}

std::string_view title(Automation::Event event) {
    return rowOf(event).title;
}

EventNotification notificationOf(Automation::Event event) {
    return rowOf(event).notification;
}

std::optional<Automation::Event> eventFromNotification(std::string_view name) {
    for (const auto& row : eventRows)
        if (row.notification.name == name)
            return row.event;
    return std::nullopt;
}

std::string_view caseName(Automation::Action action) {
    return actionRows[static_cast<std::size_t>(action)].caseName;
}

std::string_view title(Automation::Action action) {
    return actionRows[static_cast<std::size_t>(action)].title;
}

void to_json(nlohmann::json& json, Automation::Event event) {
    json = caseName(event);
}

void from_json(const nlohmann::json& json, Automation::Event& event) {
    const auto& name = json.get_ref<const std::string&>();
    for (const auto& row : eventRows)
        if (row.caseName == name) {
            event = row.event;
            return;
        }
    throw nlohmann::json::other_error::create(501, "unknown event \"" + name + "\"", &json);
}

void to_json(nlohmann::json& json, Automation::Action action) {
    json = caseName(action);
}

void from_json(const nlohmann::json& json, Automation::Action& action) {
    const auto& name = json.get_ref<const std::string&>();
    for (auto candidate : allAutomationActions)
        if (caseName(candidate) == name) {
            action = candidate;
            return;
        }
    throw nlohmann::json::other_error::create(501, "unknown action \"" + name + "\"", &json);
}

void to_json(nlohmann::json& json, const Automation::Reaction& reaction) {
    json = {{"event", reaction.event}, {"tweakId", reaction.tweakId}, {"action", reaction.action}};
}

void from_json(const nlohmann::json& json, Automation::Reaction& reaction) {
    json.at("event").get_to(reaction.event);
    json.at("tweakId").get_to(reaction.tweakId);
    json.at("action").get_to(reaction.action);
}

void to_json(nlohmann::json& json, const Automation& automation) {
    json = {{"reactions", automation.reactions}};
}

void from_json(const nlohmann::json& json, Automation& automation) {
    json.at("reactions").get_to(automation.reactions);
}

}  // namespace quorvane::core
