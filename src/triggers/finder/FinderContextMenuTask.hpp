#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "core/catalogue/TweakFactory.hpp"

namespace quorvane::triggers {

// "Finder Context Menu": explains how to turn on the Finder extension and
// the Services entries. Its switch is a state of its own, kept in memory
// for the run; running the tweak flips it.
class FinderContextMenuTask final : public core::BuiltinTweak, public core::CanToggle {
  public:
    explicit FinderContextMenuTask(core::TweakInfo info) : core::BuiltinTweak(std::move(info)) {}

    bool isOn() const override { return enabled_; }
    void toggle() override { enabled_ = !enabled_; }
    void setOn(bool on) override { enabled_ = on; }
    void run() override { toggle(); }

  private:
    bool enabled_ = true;
};

void addFinderContextMenuTask(core::TweakFactory& factory);

}  // namespace quorvane::triggers
