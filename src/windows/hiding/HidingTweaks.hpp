#pragma once

#include <optional>
#include <vector>

#include "core/CanToggle.hpp"
#include "core/Signal.hpp"
#include "input/monitoring/EventMonitor.hpp"
#include "windows/WindowTweakServices.hpp"

namespace quorvane::windows {

// Hides the other applications, then minimizes the frontmost one's
// windows but its focused one.
class HideOtherWindowsTask final : public core::BuiltinTweak {
  public:
    HideOtherWindowsTask(core::TweakInfo info, WindowTweakServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}
    core::RunOutcome run() override;

  private:
    WindowTweakServices& services_;
};

// Hides every other application and minimizes this program's windows.
class HideAllAppsTask final : public core::BuiltinTweak {
  public:
    HideAllAppsTask(core::TweakInfo info, WindowTweakServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}
    core::RunOutcome run() override;

  private:
    WindowTweakServices& services_;
};

// Moves every other application's windows aside, so the desktop shows;
// run again, puts them back. Through the desktop's own "show the desktop"
// where it has one, else by minimizing them, remembering which.
class ShowDesktopTask final : public core::BuiltinTweak {
  public:
    ShowDesktopTask(core::TweakInfo info, WindowTweakServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}
    core::RunOutcome run() override;

  private:
    void minimizeAll();
    // Whether some window this task minimized was still minimized, and is
    // now brought back.
    bool restoreMinimized();

    WindowTweakServices& services_;
    std::vector<platform::Element> minimized_;
};

// While on, whichever application becomes active, every other one is
// hidden.
class FocusFrontmostAppTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    FocusFrontmostAppTask(core::TweakInfo info, core::PKeyPath field, WindowTweakServices& services)
        : BuiltinTweak(std::move(info)), CanPToggle(services.windows.store, field), services_(services) {}
    core::RunOutcome run() override;

  private:
    void focus(const std::optional<platform::RunningApplication>& front);

    WindowTweakServices& services_;
    core::Subscription following_;
};

// While on, clicking the Dock icon of the application already in front
// hides it.
class ClickToHideTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    ClickToHideTask(core::TweakInfo info, core::PKeyPath field, WindowTweakServices& services);
    core::RunOutcome run() override;
    std::optional<std::string> ownUnavailableReason() const override;

  private:
    void clicked();

    WindowTweakServices& services_;
    input::EventMonitor monitor_;
};

}  // namespace quorvane::windows
