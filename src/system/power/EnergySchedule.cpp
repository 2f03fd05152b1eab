#include "system/power/EnergySchedule.hpp"

#include <algorithm>

namespace quorvane::system {

const EnergyActionInfo& infoOf(EnergyAction action) {
    return energyActions[static_cast<std::size_t>(action)];
}

const DayInfo& infoOf(DayOfWeek day) {
    return daysOfWeek[static_cast<std::size_t>(day)];
}

ScheduleItem newScheduleItem(std::string id) {
    return {.id = std::move(id),
            .enabled = true,
            .action = EnergyAction::wakeOrPowerOn,
            .days = {DayOfWeek::monday, DayOfWeek::tuesday, DayOfWeek::wednesday,
                     DayOfWeek::thursday, DayOfWeek::friday},
            .time = core::StoredDate::todayAt(8, 0)};
}

namespace {

std::vector<DayOfWeek> sortedDays(const std::vector<DayOfWeek>& days) {
    std::vector<DayOfWeek> sorted;
    for (const auto& info : daysOfWeek)
        if (std::find(days.begin(), days.end(), info.day) != days.end())
            sorted.push_back(info.day);
    return sorted;
}

}  // namespace

std::string dayCodes(const std::vector<DayOfWeek>& days) {
    std::string codes;
    for (DayOfWeek day : sortedDays(days))
        codes += infoOf(day).code;
    return codes;
}

std::string daysLabel(const std::vector<DayOfWeek>& days) {
    const auto codes = dayCodes(days);
    if (codes == "MTWRFSU")
        return "Every Day";
    if (codes == "SU")
        return "Weekend";
    if (codes == "MTWRF")
        return "Weekdays";
    std::string label;
    for (DayOfWeek day : sortedDays(days))
        label += (label.empty() ? "" : ", ") + std::string(infoOf(day).name);
    return label;
}

std::string energyScheduleCommand(const std::vector<ScheduleItem>& items) {
    std::string events;
    for (const auto& item : items) {
        if (!item.enabled)
            continue;
        if (!events.empty())
            events += ' ';
        events += std::string(infoOf(item.action).keyword) + " " + dayCodes(item.days) + " " +
                  item.time.timeOfDay();
    }
    return "sudo pmset repeat " + events;
}

void to_json(nlohmann::json& json, const ScheduleItem& item) {
    auto days = nlohmann::json::array();
    for (DayOfWeek day : item.days)
        days.push_back(infoOf(day).caseName);
    json = {{"id", item.id},
            {"enabled", item.enabled},
            {"action", infoOf(item.action).rawValue},
            {"days", days},
            {"time", item.time}};
}

void from_json(const nlohmann::json& json, ScheduleItem& item) {
    item.id = json.at("id").get<std::string>();
    item.enabled = json.at("enabled").get<bool>();
    const auto action = json.at("action").get<std::string>();
    const auto found = std::find_if(energyActions.begin(), energyActions.end(),
                                    [&](const auto& info) { return info.rawValue == action; });
    if (found == energyActions.end())
        throw nlohmann::json::type_error::create(302, "unknown action \"" + action + "\"", &json);
    item.action = found->action;
    item.days.clear();
    for (const auto& stored : json.at("days")) {
        const auto name = stored.get<std::string>();
        const auto day = std::find_if(daysOfWeek.begin(), daysOfWeek.end(),
                                      [&](const auto& info) { return info.caseName == name; });
        if (day == daysOfWeek.end())
            throw nlohmann::json::type_error::create(302, "unknown day \"" + name + "\"", &json);
        item.days.push_back(day->day);
    }
    item.time = json.at("time").get<core::StoredDate>();
}

}  // namespace quorvane::system
