#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "triggers/finder/FileManagerSync.hpp"

namespace quorvane::triggers {

// "Finder Context Menu": explains how to turn on the Finder extension and
// the Services entries. Its switch is a state of its own, kept in memory
// for the run; running the tweak flips it. Where the desktop's file managers
// take the actions instead (`sync`), the switch installs and removes them,
// and starts as the last run left them.
class FinderContextMenuTask final : public core::BuiltinTweak, public core::InMemoryToggle {
  public:
    FinderContextMenuTask(core::TweakInfo info, FileManagerSync* sync)
        : core::BuiltinTweak(std::move(info)),
          InMemoryToggle(sync ? sync->enabled() : true),
          sync_(sync) {}

    core::RunOutcome run() override {
        toggle();
        if (sync_)
            sync_->apply(isOn());
        return core::RunOutcome::done();
    }

  private:
    FileManagerSync* sync_;
};

void addFinderContextMenuTask(core::TweakFactory& factory, FileManagerSync* sync);

}  // namespace quorvane::triggers
