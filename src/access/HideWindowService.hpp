#pragma once

#include <optional>
#include <string_view>

#include "access/AppService.hpp"
#include "access/WindowActions.hpp"

namespace quorvane::windows {

// Hides the other applications, or the other windows of one.
class HideWindowService {
  public:
    HideWindowService(AppService& apps, platform::RunningApplications& applications,
                      WindowActions& actions)
        : apps_(apps), applications_(applications), actions_(actions) {}

    // Every running application but the last one activated (all of them
    // when there is none), or but `keep` when given, in list order. This
    // program is never hidden: its overlays belong to tweaks that are on;
    // nor is what only shows parts of the desktop (a dock, a panel).
    void hideOtherApps(std::string_view cause, std::optional<int> keep = std::nullopt);
    // Minimizes every window of the application but `except`; windows
    // without a minimize button stay, and this program's own windows too.
    void minimizeOtherWindows(std::string_view cause, int pid, platform::Element except);
    // hideOtherApps(), then every window of the live frontmost application
    // but its focused one.
    void hideOtherWindows(std::string_view cause);

  private:
    AppService& apps_;
    platform::RunningApplications& applications_;
    WindowActions& actions_;
};

}  // namespace quorvane::windows
