#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/Journal.hpp"
#include "platform/SoundVolume.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's volumes in "volume.json" in its folder, read afresh
// each time (`quorvane sim volume` changes them from another process); a
// Mac starts at 50 for both. Changes are journaled.
//   {"output": 50, "input": 50}
class SimSoundVolume final : public SoundVolume {
  public:
    explicit SimSoundVolume(std::filesystem::path root, Journal* journal = nullptr)
        : file_(std::move(root) / "volume.json"), journal_(journal) {}

    std::optional<int> volume(Channel channel) override;
    Status setVolume(Channel channel, int volume) override;

    // For `quorvane sim volume`: both volumes as text.
    std::string describe();

  private:
    std::filesystem::path file_;
    Journal* journal_;
    std::mutex mutex_;  // a read-modify-write of the file at a time
};

}  // namespace quorvane::platform::sim
