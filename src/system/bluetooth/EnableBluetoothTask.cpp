#include "system/bluetooth/EnableBluetoothTask.hpp"

namespace quorvane::system {

core::RunOutcome EnableBluetoothTask::run() {
    const bool on = isOn();
    helper_.submit([this, on] {
        services_.journal.record(id(), "bluetooth", on ? "power on" : "power off");
        platform::Status set = platform::success();
        services_.switches.change(id(), "Bluetooth power", [&] { set = power_.setPowered(on); });
        if (!set) {
            services_.log.warning(id(), "cannot switch Bluetooth " + std::string(on ? "on" : "off") +
                                            ": " + set.error().message);
            showPowered({});
        }
    });
    return core::RunOutcome::done();
}

void EnableBluetoothTask::refreshThen(std::function<void()> done) {
    helper_.submit([this, done = std::move(done)]() mutable { showPowered(std::move(done)); });
}

// On the helper: reads the controller and shows it on the main queue.
void EnableBluetoothTask::showPowered(std::function<void()> done) {
    const bool powered = power_.isPowered();
    services_.mainQueue.post([this, powered, done = std::move(done)] {
        setOn(powered);
        if (done)
            done();
    });
}

}  // namespace quorvane::system
