#pragma once

#include <filesystem>
#include <string>

#include "platform/HidSystem.hpp"
#include "platform/Journal.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's HID system: its parameters in "hid.json" in the
// simulated Mac's folder, read afresh each time (`quorvane sim hid` changes
// them from another process), and a step that can be made to fail
// ("port", "open" or "set"). Writes are journaled.
//   {"HIDParameters": {"HIDFKeyMode": 0}, "fail": "none"}
class SimHidSystem final : public HidSystem {
  public:
    SimHidSystem(std::filesystem::path root, Journal* journal = nullptr)
        : file_(std::move(root) / "hid.json"), journal_(journal) {}

    std::optional<std::int64_t> parameter(std::string_view name) override;
    Status setParameter(std::string_view name, std::int64_t value) override;

    // For `quorvane sim hid`: the parameters and the failing step, as text;
    // set a parameter whatever fails; make a step fail ("none": none).
    std::string describe() const;
    Status force(std::string_view name, std::int64_t value);
    Status setFailure(std::string_view step);

  private:
    std::filesystem::path file_;
    Journal* journal_;
};

}  // namespace quorvane::platform::sim
