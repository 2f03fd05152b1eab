#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/BluetoothPower.hpp"
#include "platform/Journal.hpp"
#include "adapters/dbus/BluezBluetooth.hpp"
#include "simmac/SimBluetooth.hpp"

namespace quorvane::app {

// The controller the Bluetooth tweak drives: in a desktop session with
// BlueZ on the system bus, BlueZ's first adapter; else the simulated Mac's.
// Asked on first use, on the thread that uses it, so start-up never waits
// for the bus.
class DesktopBluetooth final : public platform::BluetoothPower {
  public:
    DesktopBluetooth(bool desktopSession, std::filesystem::path simulatedMac,
                     platform::Journal& journal)
        : desktopSession_(desktopSession), simulated_(std::move(simulatedMac), &journal) {}

    bool isPowered() override { return chosen().isPowered(); }
    platform::Status setPowered(bool on) override { return chosen().setPowered(on); }

  private:
    platform::BluetoothPower& chosen() {
        std::call_once(chosen_, [this] {
            if (desktopSession_ && platform::dbus::BluezBluetooth::isPresent())
                bluez_ = std::make_unique<platform::dbus::BluezBluetooth>();
        });
        return bluez_ ? static_cast<platform::BluetoothPower&>(*bluez_) : simulated_;
    }

    bool desktopSession_;
    platform::sim::SimBluetooth simulated_;
    std::unique_ptr<platform::dbus::BluezBluetooth> bluez_;
    std::once_flag chosen_;
};

}  // namespace quorvane::app
