#include "system/audio/MuteTask.hpp"

#include "system/audio/VolumeScripts.hpp"

namespace quorvane::system {

namespace {

std::optional<int> readVolume(SystemServices& services, Channel channel) {
    return volumeFrom(awaitScript(services.scripts.readScript(readVolumeSource(channel))));
}

void setVolume(SystemServices& services, Channel channel, int volume, const std::string& cause) {
    // The outcome is ignored, as the system's own volume keys do.
    services.switches.change(cause, channel == Channel::output ? "output volume" : "input volume", [&] {
        awaitScript(services.scripts.runAppleScript(setVolumeSource(channel, volume), cause));
    });
}

// Reads a volume on the helper; on the main queue, the switch shows
// whether it is 0 (and off when it cannot be read).
void readMuted(core::CanToggle& toggle, SystemServices& services, core::SerialExecutor& helper,
               Channel channel, std::function<void()> done) {
    helper.submit([&toggle, &services, channel, done = std::move(done)] {
        const auto volume = readVolume(services, channel);
        services.mainQueue.post([&toggle, volume, done] {
            toggle.setOn(volume == 0);
            if (done)
                done();
        });
    });
}

}  // namespace

core::RunOutcome MuteTask::run() {
    const bool mute = isOn();
    helper_.submit([this, mute] {
        if (mute) {
            const auto volume = readVolume(services_, Channel::output);
            // Muted again while still muted (a second "on", a workflow): the
            // volume from before the first mute stays to be put back.
            if (!(mutedByUs_ && volume == 0))
                previousVolume_ = volume;
            mutedByUs_ = true;
            setVolume(services_, Channel::output, 0, id());
            return;
        }
        mutedByUs_ = false;
        const int restore = previousVolume_ && *previousVolume_ >= 1 ? *previousVolume_ : 100;
        setVolume(services_, Channel::output, restore, id());
    });
    return core::RunOutcome::done();
}

void MuteTask::refresh() {
    services_.mainQueue.after(settleDelay, [this] { refreshThen({}); });
}

void MuteTask::refreshThen(std::function<void()> done) {
    readMuted(*this, services_, helper_, Channel::output, std::move(done));
}

core::RunOutcome MuteMicrophoneTask::run() {
    const bool mute = isOn();
    const int stored = static_cast<int>(volumeSetting.read(services_.defaults));
    // Unmuting goes to the level the person configured, whatever the input
    // was before; the setting is theirs and is never rewritten here.
    helper_.submit([this, mute, stored] {
        setVolume(services_, Channel::input, mute ? 0 : stored, id());
    });
    return core::RunOutcome::done();
}

void MuteMicrophoneTask::refreshThen(std::function<void()> done) {
    readMuted(*this, services_, helper_, Channel::input, std::move(done));
}

}  // namespace quorvane::system
