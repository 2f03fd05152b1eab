#pragma once

#include <memory>
#include <mutex>

#include "platform/AwakeHolder.hpp"
#include "platform/PowerProfiles.hpp"
#include "adapters/dbus/PowerProfilesDaemon.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"
#include "adapters/dbus/UDisks2Disks.hpp"
#include "adapters/dbus/LogindPower.hpp"
#include "platform/SystemPower.hpp"
#include "platform/RemovableDisks.hpp"
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
class DesktopScreenSaver final : public platform::ScreenSaver, public platform::AwakeHolder {
  public:
    platform::Status activate() override { return service().activate(); }
    platform::Result<std::unique_ptr<Hold>> hold(const std::string& why) override {
        return service().hold(why);
    }

  private:
    platform::dbus::ScreenSaverService& service() {
        std::call_once(connected_,
                       [this] { service_ = std::make_unique<platform::dbus::ScreenSaverService>(); });
        return *service_;
    }

    std::unique_ptr<platform::dbus::ScreenSaverService> service_;
    std::once_flag connected_;
};

// UDisks2, connected on first use, likewise.
class DesktopRemovableDisks final : public platform::RemovableDisks {
  public:
    platform::Result<std::vector<std::string>> ejectAll() override {
        std::call_once(connected_,
                       [this] { disks_ = std::make_unique<platform::dbus::UDisks2Disks>(); });
        return disks_->ejectAll();
    }

  private:
    std::unique_ptr<platform::dbus::UDisks2Disks> disks_;
    std::once_flag connected_;
};

// logind's power management, connected on first use, likewise.
class DesktopSystemPower final : public platform::SystemPower, public platform::AwakeHolder {
  public:
    platform::Status scheduleShutdown(const std::string& type,
                                      std::chrono::system_clock::time_point when) override {
        return logind().scheduleShutdown(type, when);
    }
    platform::Result<bool> cancelShutdown() override { return logind().cancelShutdown(); }
    platform::Result<std::optional<Scheduled>> scheduledShutdown() override {
        return logind().scheduledShutdown();
    }
    platform::Status suspend() override { return logind().suspend(); }
    platform::Result<std::unique_ptr<Hold>> hold(const std::string& why) override {
        return logind().hold(why);
    }

  private:
    platform::dbus::LogindPower& logind() {
        std::call_once(connected_, [this] { logind_ = std::make_unique<platform::dbus::LogindPower>(); });
        return *logind_;
    }

    std::unique_ptr<platform::dbus::LogindPower> logind_;
    std::once_flag connected_;
};

}  // namespace quorvane::app
