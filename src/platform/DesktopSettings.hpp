#pragma once

#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// The desktop's own settings (GSettings on a Linux desktop): a key of a
// schema ("org.gnome.desktop.interface", "color-scheme"), its value as
// GVariant text ("'prefer-dark'", "true"). Other programs see a change at
// once. Blocking, but quick: a file or the settings daemon.
class DesktopSettings {
  public:
    virtual ~DesktopSettings() = default;

    // Why the settings cannot be kept here: a missing schema or key, or a
    // store that forgets them when the program ends. Nothing: they can.
    virtual std::optional<std::string> unusableReason(const std::string& schema,
                                                      const std::string& key) const = 0;
    // The value in effect; nothing when the key cannot be read.
    virtual std::optional<std::string> value(const std::string& schema,
                                             const std::string& key) const = 0;
    // The value the user set; nothing when the schema's default is in effect.
    virtual std::optional<std::string> userValue(const std::string& schema,
                                                 const std::string& key) const = 0;
    // Sets the value, refused when it is not one the key takes.
    virtual Status set(const std::string& schema, const std::string& key,
                       const std::string& value) = 0;
    // Back to the schema's default.
    virtual Status reset(const std::string& schema, const std::string& key) = 0;
};

}  // namespace quorvane::platform
