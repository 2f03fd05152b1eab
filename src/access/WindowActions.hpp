#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/Accessibility.hpp"
#include "platform/Journal.hpp"
#include "platform/MainQueue.hpp"
#include "platform/RunningApplications.hpp"

namespace quorvane::windows {

// Every change the tweaks make to other applications' windows and to the
// applications themselves goes through here and is journaled with the
// tweak that caused it. A call that fails changes nothing and is not
// journaled; nor is hiding what is hidden or minimizing what is minimized,
// and a hide or minimize is journaled only once the state reads back so.
class WindowActions {
  public:
    // A window manager may act a moment after it is asked: a hide or
    // minimize not yet seen is looked at again this often, this many times.
    static constexpr auto lookInterval = std::chrono::milliseconds(100);
    static constexpr int looks = 10;

    // Without `mainQueue`, a change is looked at once only.
    WindowActions(platform::Accessibility& accessibility,
                  platform::RunningApplications& applications, platform::Journal& journal,
                  platform::MainQueue* mainQueue = nullptr)
        : accessibility_(accessibility),
          applications_(applications),
          journal_(journal),
          mainQueue_(mainQueue) {}

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
    // One minimized already is left alone.
    bool minimize(std::string_view cause, platform::Element window);
    // Brings a minimized window back; one on screen is left alone.
    bool unminimize(std::string_view cause, platform::Element window);
    // Presses a menu item (or any button).
    bool press(std::string_view cause, platform::Element item);
    bool setFlag(std::string_view cause, platform::Element element, std::string_view name, bool on);
    // One hidden already (as `application` says) is left alone.
    bool hide(std::string_view cause, const platform::RunningApplication& application);
    bool activate(std::string_view cause, const platform::RunningApplication& application);

    platform::Accessibility& accessibility() { return accessibility_; }

    // Journals `detail` once `done()` reads true: at once, or on a later
    // look; never when it does not (the window manager refused).
    void recordOnceDone(std::string cause, std::string kind, std::string detail,
                        std::function<bool()> done, int looksLeft = looks);

  private:
    std::string describe(platform::Element window);
    void record(std::string_view cause, std::string_view kind, const std::string& detail) {
        journal_.record(cause, kind, detail);
    }
    bool isMinimized(platform::Element window);
    bool isHidden(int pid);

    platform::Accessibility& accessibility_;
    platform::RunningApplications& applications_;
    platform::Journal& journal_;
    platform::MainQueue* mainQueue_;
    // Gone with this object: a look still due then is not taken.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorvane::windows
