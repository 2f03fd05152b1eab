#include "system/DesktopSettingRestore.hpp"

namespace quorvane::system {

namespace {

struct SchemaKey {
    std::string schema, key;
};

platform::Result<SchemaKey> split(const std::string& target) {
    const auto blank = target.find(' ');
    if (blank == std::string::npos || blank == 0 || blank + 1 == target.size())
        return platform::Error{"not a desktop setting: \"" + target + "\""};
    return SchemaKey{target.substr(0, blank), target.substr(blank + 1)};
}

}  // namespace

platform::Result<std::optional<std::string>> DesktopSettingRestore::read(const std::string& target) {
    auto named = split(target);
    if (!named)
        return named.error();
    if (auto unusable = settings_.unusableReason(named.value().schema, named.value().key))
        return platform::Error{*unusable};
    return settings_.userValue(named.value().schema, named.value().key);
}

platform::Status DesktopSettingRestore::write(const std::string& target,
                                              const std::optional<std::string>& value) {
    auto named = split(target);
    if (!named)
        return named.error();
    const auto& [schema, key] = named.value();
    return value ? settings_.set(schema, key, *value) : settings_.reset(schema, key);
}

platform::Status changeDesktopSetting(platform::DesktopSettings& settings,
                                      platform::Journal& journal, const std::string& cause,
                                      const std::string& schema, const std::string& key,
                                      const std::optional<std::string>& value) {
    auto done = value ? settings.set(schema, key, *value) : settings.reset(schema, key);
    if (done)
        journal.record(cause, DesktopSettingRestore::kind,
                       schema + " " + key + " " + value.value_or("reset"));
    return done;
}

}  // namespace quorvane::system
