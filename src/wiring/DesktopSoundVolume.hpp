#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/ActsOn.hpp"
#include "platform/Journal.hpp"
#include "platform/SoundVolume.hpp"
#include "adapters/posix/PosixShellRunner.hpp"
#include "adapters/posix/PulseVolume.hpp"
#include "simmac/SimSoundVolume.hpp"

namespace quorvane::app {

// The volumes the sound tweaks drive, as the adapter choices have them:
// the session's sound server, the simulated Mac's, or none (every call
// fails with the reason; nothing is simulated in its place). Asked on
// use, on the thread that uses it, so start-up never waits.
class DesktopSoundVolume final : public platform::SoundVolume {
  public:
    DesktopSoundVolume(const platform::AdapterChoices& choices, std::filesystem::path simulatedMac,
                       platform::Journal& journal)
        : choices_(choices), simulated_(std::move(simulatedMac), &journal) {}

    std::optional<int> volume(Channel channel) override {
        auto* chosen = this->chosen();
        return chosen ? chosen->volume(channel) : std::nullopt;
    }
    platform::Status setVolume(Channel channel, int volume) override {
        std::string why;
        auto* chosen = this->chosen(&why);
        if (!chosen)
            return platform::Error{why};
        return chosen->setVolume(channel, volume);
    }

  private:
    // The adapter in use, asked of the choices until it is found: a sound
    // server may start after us. Nothing: unavailable, `why` says why.
    platform::SoundVolume* chosen(std::string* why = nullptr) {
        const std::lock_guard lock(mutex_);
        if (server_)
            return &*server_;
        const auto acts = choices_.of(platform::Port::soundVolume);
        if (acts.isSimulated())
            return &simulated_;
        if (acts.isUnavailable()) {
            if (why)
                *why = acts.reason;
            return nullptr;
        }
        server_.emplace(hostShell_);
        return &*server_;
    }

    const platform::AdapterChoices& choices_;
    platform::sim::SimSoundVolume simulated_;
    // This session's own environment, where pactl finds its server.
    platform::posix::PosixShellRunner hostShell_;
    std::optional<platform::posix::PulseVolume> server_;
    std::mutex mutex_;
};

}  // namespace quorvane::app
