#pragma once

#include "wiring/BackgroundDrain.hpp"
#include "wiring/SharedServices.hpp"
#include "wiring/SystemWiring.hpp"
#include "core/catalogue/TweakFactory.hpp"
#include "triggers/TriggersServices.hpp"
#include "adapters/qt/XdgFileManagerActions.hpp"
#include "triggers/finder/FileManagerSync.hpp"
#include "triggers/finder/FinderActions.hpp"
#include "triggers/scripts/ScriptExecution.hpp"
#include "triggers/scripts/ScriptTaskService.hpp"

namespace quorvane::app {

// The triggers folder: the user's script tweaks (loaded at once, so the
// catalogue lists them) and the file actions, which the desktop's file
// managers offer while "Finder Context Menu" is on.
class TriggersWiring {
  public:
    TriggersWiring(SharedServices& shared, SystemWiring& system);

    triggers::ScriptTaskService& scriptTasks() { return scriptTasks_; }
    triggers::FinderActionPerformer& finderActions() { return finderActions_; }
    triggers::FileManagerSync& fileManagers() { return fileManagerSync_; }

    void addTweaks(core::TweakFactory& factory);
    void addWorkers(BackgroundDrain& drain);
    // The sample scripts, once per installation; the file managers' actions
    // brought up to date.
    void start();
    void stop();

  private:
    platform::qt::XdgFileManagerActions fileManagerActions_;
    triggers::FileManagerSync fileManagerSync_;
    triggers::TriggersServices services_;
    triggers::ScriptExecution scriptExecution_;
    triggers::ScriptTaskService scriptTasks_;
    triggers::FinderActionPerformer finderActions_;
};

}  // namespace quorvane::app
