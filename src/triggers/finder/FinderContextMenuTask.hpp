#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "core/catalogue/TweakFactory.hpp"

namespace quorvane::triggers {

// "Finder Context Menu": explains how to turn on the Finder extension and
// the Services entries. Its switch is a state of its own, kept in memory
// for the run; running the tweak flips it.
class FinderContextMenuTask final : public core::BuiltinTweak, public core::InMemoryToggle {
  public:
    explicit FinderContextMenuTask(core::TweakInfo info)
        : core::BuiltinTweak(std::move(info)), InMemoryToggle(true) {}

    void run() override { toggle(); }
};

void addFinderContextMenuTask(core::TweakFactory& factory);

}  // namespace quorvane::triggers
