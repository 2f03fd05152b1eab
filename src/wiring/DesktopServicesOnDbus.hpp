#pragma once

#include <memory>
#include <mutex>

#include "platform/PowerProfiles.hpp"
#include "adapters/dbus/PowerProfilesDaemon.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"
#include "platform/ScreenSaver.hpp"

namespace quorvane::app {

// The desktop's system services on D-Bus, each connected on first use.

// power-profiles-daemon, connected on first use, on the thread that uses
// it, so that start-up never waits for the system bus.
class DesktopPowerProfiles final : public platform::PowerProfiles {
  public:
    platform::Result<std::string> activeProfile() override { return daemon().activeProfile(); }
    platform::Status setActiveProfile(const std::string& profile) override {
        return daemon().setActiveProfile(profile);
    }

  private:
    platform::dbus::PowerProfilesDaemon& daemon() {
        std::call_once(connected_,
                       [this] { daemon_ = std::make_unique<platform::dbus::PowerProfilesDaemon>(); });
        return *daemon_;
    }

    std::unique_ptr<platform::dbus::PowerProfilesDaemon> daemon_;
    std::once_flag connected_;
};

// The session's screen saver, connected on first use, likewise.
class DesktopScreenSaver final : public platform::ScreenSaver {
  public:
    platform::Status activate() override {
        std::call_once(connected_,
                       [this] { service_ = std::make_unique<platform::dbus::ScreenSaverService>(); });
        return service_->activate();
    }

  private:
    std::unique_ptr<platform::dbus::ScreenSaverService> service_;
    std::once_flag connected_;
};

}  // namespace quorvane::app
