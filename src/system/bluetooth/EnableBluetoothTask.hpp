#pragma once

#include "core/CanToggle.hpp"
#include "core/SerialExecutor.hpp"
#include "core/Tweak.hpp"
#include "platform/BluetoothPower.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// Switches the Bluetooth controller on and off on the Bluetooth helper.
// The switch mirrors the controller: read back at each refresh, and after a
// refused change it shows what the controller holds.
class EnableBluetoothTask final : public core::BuiltinTweak, public core::CanMToggle {
  public:
    EnableBluetoothTask(core::TweakInfo info, bool core::MState::*field, SystemServices& services,
                        platform::BluetoothPower& power, core::SerialExecutor& helper)
        : BuiltinTweak(std::move(info)), CanMToggle(services.store, field),
          services_(services), power_(power), helper_(helper) {}

    core::RunOutcome run() override;
    void refresh() override { refreshThen({}); }
    void refreshThen(std::function<void()> done) override;

  private:
    void showPowered(std::function<void()> done);

    SystemServices& services_;
    platform::BluetoothPower& power_;
    core::SerialExecutor& helper_;
};

}  // namespace quorvane::system
