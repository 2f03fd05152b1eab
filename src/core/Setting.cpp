#include "core/Setting.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane::core {

platform::StringList StringListSetting::read(const platform::UserDefaults& defaults) const {
    return defaults.stringListValue(std::string(key)).value_or(platform::StringList{});
}

void StringListSetting::write(platform::UserDefaults& defaults, const platform::StringList& value) const {
    defaults.set(std::string(key), value);
}

bool BoolSetting::read(const platform::UserDefaults& defaults) const {
    return defaults.boolValue(std::string(key)).value_or(defaultValue);
}

void BoolSetting::write(platform::UserDefaults& defaults, bool value) const {
    defaults.set(std::string(key), value);
}

std::int64_t IntSetting::read(const platform::UserDefaults& defaults) const {
    return clamped(defaults.intValue(std::string(key)).value_or(defaultValue));
}

void IntSetting::write(platform::UserDefaults& defaults, std::int64_t value) const {
    defaults.set(std::string(key), clamped(value));
}

std::int64_t IntSetting::clamped(std::int64_t value) const {
    return std::clamp(value, minimum, std::max(minimum, maximum));
}

double DoubleSetting::read(const platform::UserDefaults& defaults) const {
    return clamped(defaults.doubleValue(std::string(key)).value_or(defaultValue));
}

void DoubleSetting::write(platform::UserDefaults& defaults, double value) const {
    defaults.set(std::string(key), clamped(value));
}

double DoubleSetting::clamped(double value) const {
    if (!std::isfinite(value))
        return defaultValue;
    return std::clamp(value, minimum, std::max(minimum, maximum));
}

std::string TextSetting::read(const platform::UserDefaults& defaults) const {
    return defaults.stringValue(std::string(key)).value_or(std::string(defaultValue));
}

void TextSetting::write(platform::UserDefaults& defaults, const std::string& value) const {
    defaults.set(std::string(key), value);
}

}  // namespace quorvane::core
