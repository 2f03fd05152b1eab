#pragma once

#include <filesystem>
#include <mutex>

#include "platform/Journal.hpp"
#include "platform/SoundVolume.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "adapters/posix/PulseVolume.hpp"
#include "simmac/SimSoundVolume.hpp"

namespace quorvane::app {

// The volumes the sound tweaks drive: in a desktop session whose sound
// server answers, the server's; else the simulated Mac's. Asked on first
// use, on the thread that uses it, so start-up never waits for pactl.
class DesktopSoundVolume final : public platform::SoundVolume {
  public:
    DesktopSoundVolume(bool desktopSession, std::filesystem::path simulatedMac,
                       platform::Journal& journal)
        : desktopSession_(desktopSession), simulated_(std::move(simulatedMac), &journal) {}

    std::optional<int> volume(Channel channel) override { return chosen().volume(channel); }
    platform::Status setVolume(Channel channel, int volume) override {
        return chosen().setVolume(channel, volume);
    }

  private:
    platform::SoundVolume& chosen() {
        std::call_once(chosen_, [this] {
            if (desktopSession_ && platform::posix::PulseVolume::answers(hostShell_))
                server_.emplace(hostShell_);
        });
        return server_ ? static_cast<platform::SoundVolume&>(*server_) : simulated_;
    }

    bool desktopSession_;
    platform::sim::SimSoundVolume simulated_;
    // This session's own environment, where pactl finds its server.
    platform::posix::PosixShellRunner hostShell_;
    std::optional<platform::posix::PulseVolume> server_;
    std::once_flag chosen_;
};

}  // namespace quorvane::app
