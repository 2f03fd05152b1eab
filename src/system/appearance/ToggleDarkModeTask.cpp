#include "system/appearance/ToggleDarkModeTask.hpp"

#include "system/appearance/Appearance.hpp"

namespace quorvane::system {

ToggleDarkModeTask::ToggleDarkModeTask(core::TweakInfo info, bool core::MState::*field,
                                       SystemServices& services)
    : BuiltinTweak(std::move(info)), CanMToggle(services.store, field), services_(services) {
    observer_ = services_.events.observe(platform::NotificationCenter::distributed,
                                         changedNotification, [this] { refresh(); });
}

ToggleDarkModeTask::~ToggleDarkModeTask() {
    services_.events.removeObserver(observer_);
}

core::RunOutcome ToggleDarkModeTask::run() {
    services_.commands.submit([this, on = isOn()] {
        services_.switches.change(id(), "dark mode", [&] {
            if (auto done = Appearance(services_).setDark(on, id()); !done)
                services_.log.warning(id(), "the appearance did not change: " +
                                                done.error().message);
        });
        services_.mainQueue.post([this] { refresh(); });
    });
    return core::RunOutcome::done();
}

void ToggleDarkModeTask::refreshThen(std::function<void()> done) {
    services_.commands.submit([this, done = std::move(done)]() mutable {
        const auto read = Appearance(services_).read();
        services_.mainQueue.post([this, dark = read && Appearance::isDark(read.value()),
                                  done = std::move(done)] {
            setOn(dark);
            if (done)
                done();
        });
    });
}

}  // namespace quorvane::system
