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
    auto add = [&factory](const char* id, CommandTask::Action action) {
        factory.add(id, [action](const core::CatalogueRow& row) {
            return std::make_shared<CommandTask>(row.info, action);
        });
    };
    const std::string resetAppleEvents =
        "sudo tccutil reset AppleEvents " + services.bundleIdentifier;
    add("ResetAppleEventsTask", [&services, resetAppleEvents](const std::string& cause) {
        services.scripts.runScript(resetAppleEvents, true, true, cause);
    });
    add("ClearClipboardTask", [&services](const std::string& cause) {
        services.pasteboard.clearContents();
        services.journal.record(cause, "pasteboard", "cleared");
    });
    add("EjectDisksTask", [&services](const std::string& cause) {
        services.scripts.runAppleScript(ejectDisksSource, cause);
    });
    add("EmptyTrashTask", [&services](const std::string& cause) {
        services.commands.submit([&services, cause] {
            // No copy is kept: the log says what went, and that it is gone.
            if (awaitScript(services.scripts.runAppleScript(emptyTrashSource, cause)).ok() &&
                services.switches.recorder)
                services.switches.recorder->lost(cause, "file", "~/.Trash",
                                                 "the trash was emptied: no copy is kept");
        });
    });
    add("LaunchScreenSaverTask", [&services](const std::string& cause) {
        services.journal.record(cause, "launch application", "ScreenSaverEngine");
        if (auto launched = services.workspace.launchApplication("ScreenSaverEngine"); !launched)
            services.log.warning(cause,
                                 "cannot open the screen saver: " + launched.error().message);
    });
    add("RestoreXcodeDefaultTask", [&services](const std::string& cause) {
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
