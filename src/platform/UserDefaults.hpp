#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorvane::platform {

using StringList = std::vector<std::string>;
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string, StringList>;

// Small typed settings by key ("MenuBarService.pinPopover"). Reads of a key
// that holds another type convert where the conversion is lossless in
// meaning (an integer read as a double) and answer nothing otherwise.
class UserDefaults {
  public:
    virtual ~UserDefaults() = default;

    virtual std::optional<DefaultsValue> value(const std::string& key) const = 0;
    virtual void set(const std::string& key, DefaultsValue value) = 0;
    virtual void remove(const std::string& key) = 0;

    std::optional<bool> boolValue(const std::string& key) const;
    std::optional<std::int64_t> intValue(const std::string& key) const;
    std::optional<double> doubleValue(const std::string& key) const;
    std::optional<std::string> stringValue(const std::string& key) const;
    std::optional<StringList> stringListValue(const std::string& key) const;
};

}  // namespace quorvane::platform
