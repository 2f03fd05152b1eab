#pragma once

#include "app/BackgroundDrain.hpp"
#include "app/SharedServices.hpp"
#include "app/SystemWiring.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "triggers/TriggersServices.hpp"
#include "triggers/finder/FinderActions.hpp"
#include "triggers/scripts/ScriptExecution.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"

namespace quorvane::app {

// The triggers folder: the user's script tweaks (loaded at once, so the
// catalogue lists them) and the file actions.
class TriggersWiring {
  public:
    TriggersWiring(SharedServices& shared, SystemWiring& system);

    triggers::ScriptTaskService& scriptTasks() { return scriptTasks_; }
    triggers::FinderActionPerformer& finderActions() { return finderActions_; }

    void addTweaks(core::TweakFactory& factory);
    void addWorkers(BackgroundDrain& drain);
    // The sample scripts, once per installation.
    void start();
    void stop();

  private:
    triggers::TriggersServices services_;
    triggers::ScriptExecution scriptExecution_;
    triggers::ScriptTaskService scriptTasks_;
    triggers::FinderActionPerformer finderActions_;
};

}  // namespace quorvane::app
