#pragma once

#include <string>

#include "core/restore/RestoreKind.hpp"
#include "platform/DesktopSettings.hpp"
#include "platform/Journal.hpp"

namespace quorvane::system {

// Puts the desktop's settings back: the restore log's "desktop setting"
// kind. A target is "SCHEMA KEY"; a value is the one the user set, as
// GSettings prints it, and absent where the schema's default was in effect
// (putting that back resets the key).
class DesktopSettingRestore final : public core::RestoreKind {
  public:
    static constexpr const char* kind = "desktop setting";

    explicit DesktopSettingRestore(platform::DesktopSettings& settings) : settings_(settings) {}

    static std::string target(const std::string& schema, const std::string& key) {
        return schema + " " + key;
    }

    platform::Result<std::optional<std::string>> read(const std::string& target) override;
    platform::Status write(const std::string& target,
                           const std::optional<std::string>& value) override;

  private:
    platform::DesktopSettings& settings_;
};

// Sets `key` of `schema` to `value`, or back to its default (none), and
// journals what changed for `cause`; a refusal is returned, not journaled.
platform::Status changeDesktopSetting(platform::DesktopSettings& settings,
                                      platform::Journal& journal, const std::string& cause,
                                      const std::string& schema, const std::string& key,
                                      const std::optional<std::string>& value);

}  // namespace quorvane::system
