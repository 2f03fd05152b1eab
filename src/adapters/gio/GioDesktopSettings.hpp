#pragma once

#include "platform/DesktopSettings.hpp"

namespace quorvane::platform::gio {

// The desktop's settings through GIO's GSettings, with whatever backend the
// session uses (dconf on a desktop; GSETTINGS_BACKEND=keyfile in tests).
// Each write is synced before it returns, so another program reading next
// sees it.
class GioDesktopSettings final : public DesktopSettings {
  public:
    std::optional<std::string> unusableReason(const std::string& schema,
                                              const std::string& key) const override;
    std::optional<std::string> value(const std::string& schema,
                                     const std::string& key) const override;
    std::optional<std::string> userValue(const std::string& schema,
                                         const std::string& key) const override;
    Status set(const std::string& schema, const std::string& key,
               const std::string& value) override;
    Status reset(const std::string& schema, const std::string& key) override;
};

}  // namespace quorvane::platform::gio
