#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/StoredDate.hpp"

namespace quorvane::system {

// What an item of the weekly power schedule does.
enum class EnergyAction { sleep, wake, wakeOrPowerOn, powerOn, restart, shutdown };

struct EnergyActionInfo {
    EnergyAction action;
    std::string_view rawValue;  // stored
    std::string_view title;     // shown
    std::string_view keyword;   // what the power tool reads
};
inline constexpr std::array<EnergyActionInfo, 6> energyActions{{
    {EnergyAction::sleep, "sleep", "Sleep", "sleep"},
    {EnergyAction::wake, "wake", "Wake", "wake"},
    {EnergyAction::wakeOrPowerOn, "wakeOrPowerOn", "Wake Or Power On", "wakeorpoweron"},
    {EnergyAction::powerOn, "powerOn", "Power On", "poweron"},
    {EnergyAction::restart, "restart", "Restart", "restart"},
    {EnergyAction::shutdown, "shutdown", "Shutdown", "shutdown"},
}};
const EnergyActionInfo& infoOf(EnergyAction action);

// Monday first: the order days are listed and sorted in.
enum class DayOfWeek { monday, tuesday, wednesday, thursday, friday, saturday, sunday };

struct DayInfo {
    DayOfWeek day;
    std::string_view caseName;  // stored
    std::string_view name;      // shown
    char code;                  // what the power tool reads
};
inline constexpr std::array<DayInfo, 7> daysOfWeek{{
    {DayOfWeek::monday, "monday", "Monday", 'M'},
    {DayOfWeek::tuesday, "tuesday", "Tuesday", 'T'},
    {DayOfWeek::wednesday, "wednesday", "Wednesday", 'W'},
    {DayOfWeek::thursday, "thursday", "Thursday", 'R'},
    {DayOfWeek::friday, "friday", "Friday", 'F'},
    {DayOfWeek::saturday, "saturday", "Saturday", 'S'},
    {DayOfWeek::sunday, "sunday", "Sunday", 'U'},
}};
const DayInfo& infoOf(DayOfWeek day);

// One event of the schedule; only the time of day of `time` counts.
struct ScheduleItem {
    std::string id;  // an upper-case UUID
    bool enabled = true;
    EnergyAction action = EnergyAction::wakeOrPowerOn;
    std::vector<DayOfWeek> days;
    core::StoredDate time;

    bool operator==(const ScheduleItem&) const = default;
};

// What "Schedule" adds: wake or power on, Monday to Friday, 08:00 today.
ScheduleItem newScheduleItem(std::string id);

// "MTWRF": the days' codes from Monday to Sunday, each once.
std::string dayCodes(const std::vector<DayOfWeek>& days);
// "Every Day", "Weekend", "Weekdays", or the days' names joined by ", ".
std::string daysLabel(const std::vector<DayOfWeek>& days);
// The command that installs the enabled items, in list order:
// "sudo pmset repeat wakeorpoweron MTWRF 08:00:00 shutdown MTWRFSU 23:00:00".
std::string energyScheduleCommand(const std::vector<ScheduleItem>& items);
inline constexpr std::string_view energyCancelCommand = "sudo pmset repeat cancel";

void to_json(nlohmann::json& json, const ScheduleItem& item);
// Throws (so the stored record is moved aside) on an unknown action or day.
void from_json(const nlohmann::json& json, ScheduleItem& item);

}  // namespace quorvane::system
