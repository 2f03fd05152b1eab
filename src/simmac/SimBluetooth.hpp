#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/BluetoothPower.hpp"
#include "platform/Journal.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's Bluetooth controller in "bluetooth.json" in its
// folder, read afresh each time (`quorvane sim bluetooth` changes it from
// another process): "on", "off", or "none" for a Mac without one. A Mac
// starts with it on. Changes are journaled.
//   {"controller": "on"}
class SimBluetooth final : public BluetoothPower {
  public:
    explicit SimBluetooth(std::filesystem::path root, Journal* journal = nullptr)
        : file_(std::move(root) / "bluetooth.json"), journal_(journal) {}

    bool isPowered() override;
    Status setPowered(bool on) override;

    // For `quorvane sim bluetooth`: the controller as text, and set it
    // ("on", "off" or "none") whatever it was.
    std::string describe();
    Status force(std::string_view state);

  private:
    std::string state();
    Status save(std::string_view state);

    std::filesystem::path file_;
    Journal* journal_;
    std::mutex mutex_;
};

}  // namespace quorvane::platform::sim
