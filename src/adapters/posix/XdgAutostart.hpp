#pragma once

#include <filesystem>

#include "platform/LoginItems.hpp"
#include "platform/Updater.hpp"

namespace quorvane::platform::posix {

// Launch at login on a freedesktop session: an autostart entry in
// $XDG_CONFIG_HOME/autostart that starts `program`.
class XdgAutostart final : public LoginItems {
  public:
    XdgAutostart(std::filesystem::path configHome, std::filesystem::path program);

    bool isEnabled() const override;
    Status setEnabled(bool enabled) override;
    const std::filesystem::path& entry() const { return entry_; }

  private:
    std::filesystem::path entry_;
    std::filesystem::path program_;
};

// On Linux the program comes from the package manager, which also updates it.
class PackageManagerUpdater final : public Updater {
  public:
    std::string checkForUpdates() override {
        return "Quorvane is updated by your system's package manager together with the rest of the "
               "system.";
    }
};

}  // namespace quorvane::platform::posix
