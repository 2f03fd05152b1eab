#include "triggers/TriggersTweaks.hpp"

#include "triggers/finder/FinderContextMenuTask.hpp"

namespace quorvane::triggers {

void addTriggersTweaks(core::TweakFactory& factory, TriggersServices& services) {
    addFinderContextMenuTask(factory, services.fileManagers);
}

}  // namespace quorvane::triggers
