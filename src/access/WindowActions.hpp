#pragma once

#include <string_view>

#include "platform/Accessibility.hpp"
#include "platform/Journal.hpp"
#include "platform/RunningApplications.hpp"

namespace quorvane::windows {

// Every change the tweaks make to other applications' windows and to the
// applications themselves goes through here and is journaled with the
// tweak that caused it. A call that fails changes nothing and is not
// journaled.
class WindowActions {
  public:
    WindowActions(platform::Accessibility& accessibility,
                  platform::RunningApplications& applications, platform::Journal& journal)
        : accessibility_(accessibility), applications_(applications), journal_(journal) {}

    bool move(std::string_view cause, platform::Element window, platform::Point to);
    bool resize(std::string_view cause, platform::Element window, platform::Size to);
    // Position first, then size, then position again: an application that
    // keeps a window on one screen moves it only once it fits.
    bool setFrame(std::string_view cause, platform::Element window, const platform::Rect& to);
    // Size first, then position, then size again: a window that clamps its
    // size to the screen at its old place gets the whole size once moved.
    bool place(std::string_view cause, platform::Element window, const platform::Rect& to);
    bool raise(std::string_view cause, platform::Element window);
    // Presses the window's minimize button; a window without one stays.
    bool minimize(std::string_view cause, platform::Element window);
    // Presses a menu item (or any button).
    bool press(std::string_view cause, platform::Element item);
    bool setFlag(std::string_view cause, platform::Element element, std::string_view name, bool on);
    bool hide(std::string_view cause, const platform::RunningApplication& application);
    bool activate(std::string_view cause, const platform::RunningApplication& application);

    platform::Accessibility& accessibility() { return accessibility_; }

  private:
    std::string describe(platform::Element window);
    void record(std::string_view cause, std::string_view kind, const std::string& detail) {
        journal_.record(cause, kind, detail);
    }

    platform::Accessibility& accessibility_;
    platform::RunningApplications& applications_;
    platform::Journal& journal_;
};

}  // namespace quorvane::windows
