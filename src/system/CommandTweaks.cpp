#include "system/CommandTweaks.hpp"

#include <memory>

#include "system/audio/VolumeScripts.hpp"


namespace quorvane::system {

namespace {

// A one-shot tweak whose run() is one action from the table below.
class CommandTask final : public core::BuiltinTweak {
  public:
    using Action = std::function<void(const std::string& cause)>;

    CommandTask(core::TweakInfo info, Action action)
        : BuiltinTweak(std::move(info)), action_(std::move(action)) {}
    core::RunOutcome run() override {
        action_(id());
        return core::RunOutcome::done();
    }

  private:
    Action action_;
};

const char* const ejectDisksSource =
    "tell application \"Finder\"\n"
    "    eject (every disk whose ejectable is true)\n"
    "end tell";

const char* const emptyTrashSource =
    "tell application \"Finder\"\n"
    "    set warns before emptying of trash to false\n"
    "    empty trash\n"
    "end tell";

}  // namespace

void addCommandTweaks(core::TweakFactory& factory, SystemServices& services) {
    auto add = [&factory](const char* id, platform::Port port, CommandTask::Action action) {
        factory.add(
            id,
            [action](const core::CatalogueRow& row) {
                return std::make_shared<CommandTask>(row.info, action);
            },
            {port});
    };
    const std::string resetAppleEvents =
        "sudo tccutil reset AppleEvents " + services.bundleIdentifier;
    add("ResetAppleEventsTask", platform::Port::macTools, [&services, resetAppleEvents](const std::string& cause) {
        services.scripts.runScript(resetAppleEvents, true, true, cause);
    });
    add("ClearClipboardTask", platform::Port::pasteboard, [&services](const std::string& cause) {
        services.pasteboard.clearContents();
        services.journal.record(cause, "pasteboard", "cleared");
    });
    add("EjectDisksTask", platform::Port::removableDisks, [&services](const std::string& cause) {
        if (auto* disks = services.removableDisks) {
            services.commands.submit([&services, disks, cause] {
                auto ejected = disks->ejectAll();
                if (!ejected) {
                    services.log.warning(cause, ejected.error().message);
                    return;
                }
                for (const auto& disk : ejected.value())
                    services.journal.record(cause, "eject", disk);
            });
            return;
        }
        services.scripts.runAppleScript(ejectDisksSource, cause);
    });
    add("EmptyTrashTask", platform::Port::trash, [&services](const std::string& cause) {
        services.commands.submit([&services, cause] {
            // No copy is kept: the log says what went, and that it is gone.
            auto keptAsLost = [&services, &cause](const std::string& where) {
                if (services.switches.recorder)
                    services.switches.recorder->lost(cause, "file", where,
                                                     "the trash was emptied: no copy is kept");
            };
            if (auto* trash = services.trash) {
                auto emptied = trash->empty();
                if (!emptied) {
                    services.log.warning(cause, emptied.error().message);
                    return;
                }
                if (emptied.value() == 0)
                    return;
                const auto items = emptied.value();
                services.journal.record(cause, "trash",
                                        "emptied: " + std::to_string(items) +
                                            (items == 1 ? " item" : " items"));
                keptAsLost("the trash");
                return;
            }
            if (awaitScript(services.scripts.runAppleScript(emptyTrashSource, cause)).ok())
                keptAsLost("~/.Trash");
        });
    });
    add("LaunchScreenSaverTask", platform::Port::screenSaver, [&services](const std::string& cause) {
        if (auto* screenSaver = services.screenSaver) {
            services.commands.submit([&services, screenSaver, cause] {
                if (auto started = screenSaver->activate(); !started)
                    services.log.warning(cause, "cannot start the screen saver: " +
                                                    started.error().message);
                else
                    services.journal.record(cause, "screen saver", "started");
            });
            return;
        }
        services.journal.record(cause, "launch application", "ScreenSaverEngine");
        if (auto launched = services.workspace.launchApplication("ScreenSaverEngine"); !launched)
            services.log.warning(cause,
                                 "cannot open the screen saver: " + launched.error().message);
    });
    add("RestoreXcodeDefaultTask", platform::Port::preferences, [&services](const std::string& cause) {
        services.scripts.restartApp("Xcode", false, cause);
        // The settings are moved aside, kept as the domain they were, so a
        // restore imports them again.
        services.commands.submit([&services, cause] {
            services.changePreference(cause, "com.apple.dt.xcode", [&] {
                services.runCommand(cause, "mv ~/Library/Preferences/com.apple.dt.xcode.plist "
                                           "~/Desktop/XcodeDefaults.plist");
            });
        });
        runCommandInBackground(services, cause, "open -b com.apple.dt.xcode");
    });
}

}  // namespace quorvane::system
