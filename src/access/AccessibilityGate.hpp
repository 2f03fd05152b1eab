#pragma once

#include <functional>

#include "core/CanToggle.hpp"
#include "core/RunOutcome.hpp"
#include "platform/MainQueue.hpp"
#include "platform/PermissionAsker.hpp"

namespace quorvane::windows {

// The check every tweak that reads or moves other applications' windows, or
// watches the keyboard and mouse, runs where it starts work. Trust is asked
// of the system each time, never remembered.
class AccessibilityGate {
  public:
    AccessibilityGate(const platform::PermissionChecker& checker, platform::PermissionAsker& asker,
                      platform::MainQueue& mainQueue)
        : checker_(checker), asker_(asker), mainQueue_(mainQueue) {}

    bool isTrusted() const { return checker_.isGranted(platform::Permission::accessibility); }

    // A toggle's start or re-apply. What ran before is stopped whatever
    // happens, so monitors from before a revoked permission end too. Then,
    // with the toggle on: trusted, `start` runs; not trusted, the toggle is
    // switched off and the permission panel is asked for. Switching off
    // never asks. Refused, with the permission it lacks, when the toggle was
    // to be on and `start` could not run.
    core::RunOutcome applyToggle(core::CanToggle& toggle, const std::function<void()>& stop,
                                 const std::function<void()>& start);
    // The same, for a toggle that also needs `also` (the screen's pictures):
    // missing, it is switched off and that permission is asked for.
    core::RunOutcome applyToggle(core::CanToggle& toggle, const std::function<void()>& stop,
                                 const std::function<void()>& start, platform::Permission also);

    // A one-shot: runs `work` when trusted, else asks and is refused.
    core::RunOutcome runOneShot(const std::function<void()>& work);

  private:
    void ask(platform::Permission permission = platform::Permission::accessibility);

    const platform::PermissionChecker& checker_;
    platform::PermissionAsker& asker_;
    platform::MainQueue& mainQueue_;
};

}  // namespace quorvane::windows
