#pragma once

#include "adapters/dbus/OwnConnection.hpp"
#include <string>

#include "platform/BluetoothPower.hpp"

namespace quorvane::platform::dbus {

// BlueZ on the system bus: the "Powered" property of the first
// org.bluez.Adapter1 (by object path). Without BlueZ or an adapter it
// reads off and refuses to switch. Calls block for at most two seconds;
// any thread may make them.
class BluezBluetooth final : public BluetoothPower {
  public:
    // The system bus, or the bus at `address` (a test's private one).
    explicit BluezBluetooth(std::string address = {});

    // Whether BlueZ is on the system bus: the composition root's question.
    static bool isPresent();

    bool isPowered() override;
    Status setPowered(bool on) override;

  private:
    struct Adapter {
        QString path;
        bool powered = false;
    };
    Result<Adapter> firstAdapter();

    OwnConnection connection_;
};

}  // namespace quorvane::platform::dbus
