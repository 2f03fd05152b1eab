#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Setting.hpp"
#include "platform/Log.hpp"

namespace quorvane::system {

// The scheduled shutdown's and keep-awake's settings and the commands they
// make. An amount is 1 to 9999 of its period: the form cannot go beyond,
// and a value written there by other means is refused, not clamped.

enum class ShutdownAction { shutdown, restart, sleep };
enum class ShutdownPeriod { minute, hour };
enum class AwakePeriod { forever, minute, hour, day };

inline constexpr core::EnumOption<ShutdownAction> shutdownActionOptions[] = {
    {ShutdownAction::shutdown, "Shutdown", "Shutdown"},
    {ShutdownAction::restart, "Restart", "Restart"},
    {ShutdownAction::sleep, "Sleep", "Sleep"},
};
inline constexpr core::EnumOption<ShutdownPeriod> shutdownPeriodOptions[] = {
    {ShutdownPeriod::minute, "Minute", "Minute"},
    {ShutdownPeriod::hour, "Hour", "Hour"},
};
inline constexpr core::EnumOption<AwakePeriod> awakePeriodOptions[] = {
    {AwakePeriod::forever, "forever", "Forever"},
    {AwakePeriod::minute, "minute", "Minute"},
    {AwakePeriod::hour, "hour", "Hour"},
    {AwakePeriod::day, "day", "Day"},
};

inline constexpr std::string_view applyAgainFootnote =
    "To apply configuration changes, toggle off and on again.";

inline constexpr std::int64_t minimumAmount = 1;
inline constexpr std::int64_t maximumAmount = 9999;

inline constexpr core::EnumSetting<ShutdownAction> shutdownActionSetting{
    "ScheduleShutdownTask.Manager.action", ShutdownAction::shutdown, shutdownActionOptions};
inline constexpr core::EnumSetting<ShutdownPeriod> shutdownPeriodSetting{
    "ScheduleShutdownTask.Manager.period", ShutdownPeriod::minute, shutdownPeriodOptions};
inline constexpr core::IntSetting shutdownAmountSetting{
    "ScheduleShutdownTask.Manager.periodValue", 15, minimumAmount, maximumAmount};
inline constexpr core::EnumSetting<AwakePeriod> awakePeriodSetting{
    "KeepMacAwakeTask.Manager.period", AwakePeriod::forever, awakePeriodOptions};
// The key is spelt as the stored settings have it.
inline constexpr core::IntSetting awakeAmountSetting{
    "KeepMacAwakeTask.Manager.periodVlaue", 1, minimumAmount, maximumAmount};

// The amount as stored (not clamped); nothing, logged with the setting and
// its range, when it is out of range.
std::optional<std::int64_t> amountInRange(const platform::UserDefaults& defaults,
                                          const core::IntSetting& setting, platform::Log& log,
                                          std::string_view source);

// The shutdown tool's arguments: "-h" "+15".
std::vector<std::string> shutdownArguments(ShutdownAction action, ShutdownPeriod period,
                                           std::int64_t amount);
// How long to stay awake: 999999 s for ever.
std::int64_t awakeSeconds(AwakePeriod period, std::int64_t amount);
// "/usr/bin/caffeinate -d -i -t 999999", the tool's path quoted for the
// shell when it needs it.
std::string keepAwakeCommand(const std::string& caffeinate, std::int64_t seconds);

std::string lowPowerCommand(bool on);
inline constexpr std::string_view lowPowerReadCommand = "pmset -g | grep powermode";
// On when the answer names the setting and holds a 1.
bool lowPowerFrom(const std::string& output);

}  // namespace quorvane::system
