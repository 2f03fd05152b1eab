#include "app/ControlBindings.hpp"

#include "control/DesktopCommands.hpp"
#include "control/DisplayCommands.hpp"
#include "control/InputCommands.hpp"
#include "control/RestoreCommand.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"
#include "platform/SystemEventCenter.hpp"
#include "wiring/DesktopSession.hpp"
#include "simmac/SimWindowServer.hpp"
#include "simmac/SimHotkeys.hpp"
#include "simmac/commands/SimControlCommands.hpp"

namespace quorvane::app {

namespace {

simmac::SimControls simulatedControls(AppServices& services) {
    simmac::SimControls simulated{
        .postEvent = [&services](const std::string& name) {
            return services.systemEvents().post(name);
        },
        .isObserved = [&services](const std::string& name) {
            return services.systemEvents().isObserved(name);
        },
        .pressKey = {}};
    if (auto* desktop = services.desktop().simulated())
        simulated.pressKey = [desktop](const std::string& combination) {
            return desktop->key(combination);
        };
    else if (services.simulatedKeyboard())
        simulated.pressKey = [&services](const std::string& combination) {
            return services.simulatedKeyboard()->press({combination});
        };
    return simulated;
}

}  // namespace

void bindControlCommands(ControlCommands& commands, AppServices& services, FrontEnd& frontEnd) {
    bindInstanceCommands(commands, {.catalogue = services.catalogue(),
                                    .actions = services.tweakActions(),
                                    .reopen = [&frontEnd] { frontEnd.openMain(); },
                                    .defaults = services.userDefaults(),
                                    .journal = services.journal(),
                                    .confirmations = &frontEnd.confirmations(),
                                    .finderActions = &services.finderActions()});
    bindRestoreCommand(commands, services.restore(), services.catalogue());
    // Keys pressed on the simulated desktop reach the shortcuts.
    if (services.simulatedKeyboard())
        services.desktop().setShortcutHandler([&services](const std::string& combination) {
            return services.simulatedKeyboard()->press({combination});
        });
    simmac::bindSimCommands(commands, simulatedControls(services));
    bindDesktopCommands(commands, services.desktop(), services.windowsServices().apps,
                        services.mainQueue(), services.journal(), services.log());
    bindDisplayCommands(commands, services.desktop(), services.displayServices().overlays,
                        services.simulatedCameras());
    auto viewShortcuts = std::dynamic_pointer_cast<input::ViewShortcutTask>(
        services.catalogue().find("ViewShortcutTask"));
    bindInputCommands(commands, viewShortcuts ? &viewShortcuts->manager() : nullptr);
}

}  // namespace quorvane::app
