#include "system/appearance/AutoHideMenuBarTask.hpp"

#include "system/audio/VolumeScripts.hpp"

namespace quorvane::system {

const char* const autoHideMenuBarOnSource =
    "    tell application \"System Events\"\n"
    "        tell dock preferences to set autohide menu bar to true\n"
    "    end tell";
const char* const autoHideMenuBarOffSource =
    "    tell application \"System Events\"\n"
    "        tell dock preferences to set autohide menu bar to false\n"
    "    end tell";
const char* const autoHideMenuBarReadSource =
    "    tell application \"System Events\"\n"
    "        tell dock preferences to get autohide menu bar\n"
    "    end tell";

core::RunOutcome AutoHideMenuBarTask::run() {
    services_.commands.submit([this, on = isOn()] {
        // System Events keeps it in the global domain, where it is put back.
        services_.changePreference(id(), "NSGlobalDomain _HIHideMenuBar", [&] {
            (void)awaitScript(services_.scripts.runAppleScript(
                on ? autoHideMenuBarOnSource : autoHideMenuBarOffSource, id()));
        });
    });
    return core::RunOutcome::done();
}

void AutoHideMenuBarTask::refreshThen(std::function<void()> done) {
    services_.scripts.readScriptThenOnMainQueue(
        autoHideMenuBarReadSource, false,
        [this, done = std::move(done)](ScriptResult result) {
            if (result.ok())
                setOn(result.output == "true");
            else
                services_.log.warning(id(), "cannot read whether the menu bar hides: " +
                                                result.error->message());
            if (done)
                done();
        });
}

void AutoHideMenuBarTask::reset() {
    setOn(false);
    services_.scripts.runAppleScript(autoHideMenuBarOffSource, id());
}

}  // namespace quorvane::system
