#pragma once

#include <memory>

#include "core/SoundPlayer.hpp"
#include "core/Tweak.hpp"
#include "core/TweakNotifications.hpp"
#include "platform/IntentDonations.hpp"
#include "platform/MainQueue.hpp"

namespace quorvane::core {

// What a tweak's cell does when the user clicks its button or flips its
// switch, the same in the main window and in the popover.
class TweakActions {
  public:
    TweakActions(platform::MainQueue& queue, TweakNotifications& notifications, SoundPlayer& sounds,
                 platform::IntentDonations& donations)
        : queue_(queue), notifications_(notifications), sounds_(sounds), donations_(donations) {}

    // The button of a one-shot tweak. Answers what came of it, which the
    // lists have been told.
    RunOutcome runOneShot(const std::shared_ptr<Tweak>& tweak);
    // The switch of a toggle: stores the new state, then applies it.
    RunOutcome switchToggle(const std::shared_ptr<Tweak>& tweak, bool on);

  private:
    // After a run: the refresh and the donation.
    void followUp(const std::shared_ptr<Tweak>& tweak);
    // Tells the lists why a run did nothing; true when it did nothing.
    bool refused(const RunOutcome& outcome);

    platform::MainQueue& queue_;
    TweakNotifications& notifications_;
    SoundPlayer& sounds_;
    platform::IntentDonations& donations_;
};

}  // namespace quorvane::core
