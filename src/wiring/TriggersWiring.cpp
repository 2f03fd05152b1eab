#include "wiring/TriggersWiring.hpp"

#include "wiring/UserFiles.hpp"
#include "triggers/TriggersTweaks.hpp"

namespace quorvane::app {

TriggersWiring::TriggersWiring(SharedServices& shared, SystemWiring& system)
    : fileManagerActions_(fileManagerFolders(shared.directories, shared.program)),
      fileManagerSync_(fileManagerActions_, shared.workspace, shared.journal, shared.log,
                       &shared.changes),
      services_{.persistor = shared.persistor,
                .defaults = shared.userDefaults,
                .shell = shared.shell,
                .scripts = system.scriptRunner(),
                .mainQueue = shared.mainQueue,
                .alerts = shared.alerts,
                .pasteboard = shared.pasteboard,
                .workspace = shared.workspace,
                .journal = shared.journal,
                .log = shared.log,
                .fileManagers = &fileManagerSync_},
      scriptExecution_(services_.shell, services_.scripts, services_.mainQueue, services_.alerts,
                       services_.journal),
      scriptTasks_(services_.persistor, services_.defaults, scriptExecution_),
      finderActions_(services_.pasteboard, services_.workspace, services_.journal,
                     services_.log) {
    // In a desktop session "Open in Terminal" opens the desktop's terminal.
    if (shared.desktop.isDesktopSession())
        finderActions_.setOpenTerminal([&launcher = shared.launcher](const std::string& folder) {
            return launcher.launch("/bin/sh",
                                   {"-c", triggers::desktopTerminalScript, "sh", folder});
        });
}

void TriggersWiring::addTweaks(core::TweakFactory& factory) {
    triggers::addTriggersTweaks(factory, services_);
}

void TriggersWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(scriptExecution_.workers());
}

void TriggersWiring::start() {
    scriptTasks_.seedIfNeeded();
    fileManagerSync_.refresh();
}

void TriggersWiring::stop() {
    scriptExecution_.workers().stop();
}

}  // namespace quorvane::app
