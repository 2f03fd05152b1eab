#include "triggers/TriggersTweaks.hpp"

#include "triggers/finder/FinderContextMenuTask.hpp"

namespace quorvane::triggers {

void addTriggersTweaks(core::TweakFactory& factory, TriggersServices&) {
    addFinderContextMenuTask(factory);
}

}  // namespace quorvane::triggers
