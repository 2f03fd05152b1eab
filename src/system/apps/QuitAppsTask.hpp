#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "core/Setting.hpp"
#include "core/Signal.hpp"
#include "core/Tweak.hpp"
#include "platform/RunningApplications.hpp"
#include "system/SystemServices.hpp"

namespace quorvane::system {

// The running applications, to quit all but those kept, or one by one from
// the extra panel: a click quits one; its menu quits, restarts (once it
// has ended, within five seconds) or keeps it. Applications are known by
// their bundle identifier (on X11, by the program they run); never this
// program, nor one without a Dock item.
class QuitAppsTask final : public core::BuiltinTweak {
  public:
    static constexpr core::StringListSetting keepAppsSetting{"QuitAppsTask.Manager.keepApps"};
    static constexpr auto restartWait = std::chrono::seconds(5);
    static constexpr auto restartPoll = std::chrono::milliseconds(100);

    struct Item {
        platform::RunningApplication app;
        bool keep = false;
    };

    QuitAppsTask(core::TweakInfo info, SystemServices& services,
                 platform::RunningApplications& applications)
        : BuiltinTweak(std::move(info)), services_(services), applications_(applications) {}
    ~QuitAppsTask() override;

    // "Quit All": every listed application not kept.
    core::RunOutcome run() override;
    core::ExtraPanel extraView() const override;

    // By name, case aside.
    std::vector<Item> items() const;
    void quit(int pid) const;
    void restart(int pid) const;
    void toggleKeep(int pid) const;

  private:
    static std::string keyOf(const platform::RunningApplication& app);
    bool terminate(const platform::RunningApplication& app) const;
    void reopenWhenGone(platform::RunningApplication app, platform::Instant deadline) const;

    SystemServices& services_;
    platform::RunningApplications& applications_;
    mutable core::Signal<> changed_;
    // The panel acts through the tweak's const view, as the browser panels do.
    mutable std::vector<platform::TimerToken> restarts_;
};

}  // namespace quorvane::system
