#pragma once

#include <string>

#include "platform/Result.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The appearance, dark or light. On a desktop it is the desktop's colour
// scheme (org.gnome.desktop.interface color-scheme, which the settings
// portal hands every application): 'prefer-dark', 'default' or
// 'prefer-light', as GSettings prints them. On the simulated Mac it is
// "dark" or "light", switched by the two scripts shipped with the program
// and read from the global domain ("AppleInterfaceStyle" is "Dark" in dark
// mode, absent in light mode). Blocking: call from a background executor.
struct Appearance {
    static constexpr const char* schema = "org.gnome.desktop.interface";
    static constexpr const char* key = "color-scheme";
    static constexpr const char* readCommand = "defaults read -g AppleInterfaceStyle";

    explicit Appearance(SystemServices& services) : services_(services) {}

    platform::Result<std::string> read() const;
    // `value`: either kind of value; "dark" and "light" also on a desktop.
    platform::Status write(const std::string& value, const std::string& cause);
    platform::Status setDark(bool dark, const std::string& cause) {
        return write(dark ? "dark" : "light", cause);
    }
    static bool isDark(const std::string& value) {
        return value == "dark" || value == "'prefer-dark'";
    }

  private:
    SystemServices& services_;
};

}  // namespace quorvane::system
