#include "system/power/PowerSettings.hpp"

#include "platform/Quoting.hpp"

namespace quorvane::system {

std::optional<std::int64_t> amountInRange(const platform::UserDefaults& defaults,
                                          const core::IntSetting& setting, platform::Log& log,
                                          std::string_view source) {
    const auto key = std::string(setting.key);
    const auto amount = defaults.intValue(key).value_or(setting.defaultValue);
    if (amount >= setting.minimum && amount <= setting.maximum)
        return amount;
    log.error(source, key + " is " + std::to_string(amount) + ", outside " +
                          std::to_string(setting.minimum) + "-" + std::to_string(setting.maximum) +
                          ": nothing is run");
    return std::nullopt;
}

std::vector<std::string> shutdownArguments(ShutdownAction action, ShutdownPeriod period,
                                           std::int64_t amount) {
    const char* flag = action == ShutdownAction::restart ? "-r"
                       : action == ShutdownAction::sleep ? "-s"
                                                         : "-h";
    const auto minutes = period == ShutdownPeriod::hour ? amount * 60 : amount;
    return {flag, "+" + std::to_string(minutes)};
}

std::int64_t awakeSeconds(AwakePeriod period, std::int64_t amount) {
    switch (period) {
    case AwakePeriod::forever:
        return 999999;
    case AwakePeriod::minute:
        return amount * 60;
    case AwakePeriod::hour:
        return amount * 3600;
    case AwakePeriod::day:
        return amount * 86400;
    }
    return 999999;
}

std::string keepAwakeCommand(const std::string& caffeinate, std::int64_t seconds) {
    return platform::shellQuote(caffeinate) + " -d -i -t " + std::to_string(seconds);
}

std::string lowPowerCommand(bool on) {
    return std::string("sudo pmset -a powermode ") + (on ? "1" : "0");
}

bool lowPowerFrom(const std::string& output) {
    return output.find("powermode") != std::string::npos && output.find('1') != std::string::npos;
}

}  // namespace quorvane::system
