#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "platform/ActsOn.hpp"
#include "platform/BluetoothPower.hpp"
#include "platform/Journal.hpp"
#include "adapters/dbus/BluezBluetooth.hpp"
#include "simmac/SimBluetooth.hpp"

namespace quorvane::app {

// The controller the Bluetooth tweak drives, as the adapter choices have
// it: BlueZ's first adapter, the simulated Mac's, or none (a switch fails
// with the reason; nothing is simulated in its place). Asked on use,
// on the thread that uses it, so start-up never waits for the bus.
class DesktopBluetooth final : public platform::BluetoothPower {
  public:
    DesktopBluetooth(const platform::AdapterChoices& choices, std::filesystem::path simulatedMac,
                     platform::Journal& journal)
        : choices_(choices), simulated_(std::move(simulatedMac), &journal) {}

    bool isPowered() override {
        auto* chosen = this->chosen();
        return chosen && chosen->isPowered();
    }
    platform::Status setPowered(bool on) override {
        std::string why;
        auto* chosen = this->chosen(&why);
        if (!chosen)
            return platform::Error{why};
        return chosen->setPowered(on);
    }

  private:
    // The adapter in use, asked of the choices until it is found: BlueZ
    // may start after us. Nothing: unavailable, `why` says why.
    platform::BluetoothPower* chosen(std::string* why = nullptr) {
        const std::lock_guard lock(mutex_);
        if (bluez_)
            return bluez_.get();
        const auto acts = choices_.of(platform::Port::bluetooth);
        if (acts.isSimulated())
            return &simulated_;
        if (acts.isUnavailable()) {
            if (why)
                *why = acts.reason;
            return nullptr;
        }
        bluez_ = std::make_unique<platform::dbus::BluezBluetooth>();
        return bluez_.get();
    }

    const platform::AdapterChoices& choices_;
    platform::sim::SimBluetooth simulated_;
    std::unique_ptr<platform::dbus::BluezBluetooth> bluez_;
    std::mutex mutex_;
};

}  // namespace quorvane::app
