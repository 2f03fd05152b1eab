#include "system/PreferenceRestore.hpp"

#include "system/PreferenceValues.hpp"

namespace quorvane::system {

namespace {

platform::Error notAPreference(const std::string& target) {
    return {"\"" + target + "\" does not name a preference"};
}

}  // namespace

platform::Result<std::optional<std::string>> PreferenceRestore::read(const std::string& target) {
    const auto preference = parsePreferenceTarget(target);
    if (!preference)
        return notAPreference(target);
    return readPreferenceValue(shell_, *preference);
}

platform::Status PreferenceRestore::write(const std::string& target,
                                          const std::optional<std::string>& value) {
    const auto preference = parsePreferenceTarget(target);
    if (!preference)
        return notAPreference(target);
    return writePreferenceValue(shell_, *preference, value);
}

bool PreferenceRestore::same(const std::optional<std::string>& a,
                             const std::optional<std::string>& b) const {
    return samePreferenceValue(a, b);
}

std::string PreferenceRestore::describe(const std::optional<std::string>& value) const {
    return describePreferenceValue(value);
}

}  // namespace quorvane::system
