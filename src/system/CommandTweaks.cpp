#include "system/CommandTweaks.hpp"

#include <memory>

#include "platform/Quoting.hpp"

namespace quorvane::system {

namespace {

// A one-shot tweak whose run() is one action from the table below.
class CommandTask final : public core::BuiltinTweak {
  public:
    using Action = std::function<void(const std::string& cause)>;

    CommandTask(core::TweakInfo info, Action action)
        : BuiltinTweak(std::move(info)), action_(std::move(action)) {}
    void run() override { action_(id()); }

  private:
    Action action_;
};

// Unquarantining needs a file chosen in its configure view; run() alone
// has nothing to act on.
class UnquarantineTask final : public core::BuiltinTweak {
  public:
    using BuiltinTweak::BuiltinTweak;
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

void runCommandInBackground(SystemServices& services, std::string cause, std::string command) {
    services.commands.submit([&services, cause = std::move(cause), command = std::move(command)] {
        services.journal.record(cause, "command", command);
        if (auto ran = services.shell.run(command); !ran)
            services.log.warning(cause, "\"" + command + "\" failed: " + ran.error().message);
    });
}

std::string unquarantineCommand(const std::string& path) {
    // A chosen path is absolute; a relative one that starts with a dash
    // would read as an option.
    const std::string target = path.starts_with('-') ? "./" + path : path;
    return "xattr -r -d com.apple.quarantine " + platform::shellQuote(target);
}

UnquarantineMessage unquarantineMessage(const ScriptResult& result) {
    if (result.ok())
        return {"Quarantine removed successfully", "checkmark.circle.fill"};
    return {"Failed: " + result.error->message(), "xmark.circle.fill"};
}

void unquarantine(SystemServices& services, const std::string& path,
                  std::function<void(UnquarantineMessage)> done) {
    auto pending = std::make_shared<std::future<ScriptResult>>(
        services.scripts.runScript(unquarantineCommand(path), true, true, "UnquarantineTask"));
    services.commands.submit([&services, pending, done = std::move(done)] {
        auto message = unquarantineMessage(pending->get());
        services.mainQueue.post([done, message] { done(message); });
    });
}

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
        services.scripts.runAppleScript(emptyTrashSource, cause);
    });
    add("LaunchScreenSaverTask", [&services](const std::string& cause) {
        services.journal.record(cause, "launch application", "ScreenSaverEngine");
        if (auto launched = services.workspace.launchApplication("ScreenSaverEngine"); !launched)
            services.log.warning(cause,
                                 "cannot open the screen saver: " + launched.error().message);
    });
    add("RestoreXcodeDefaultTask", [&services](const std::string& cause) {
        services.scripts.restartApp("Xcode", false, cause);
        runCommandInBackground(
            services, cause,
            "mv ~/Library/Preferences/com.apple.dt.xcode.plist ~/Desktop/XcodeDefaults.plist");
        runCommandInBackground(services, cause, "open -b com.apple.dt.xcode");
    });
    factory.add("UnquarantineTask", [](const core::CatalogueRow& row) {
        return std::make_shared<UnquarantineTask>(row.info);
    });
}

}  // namespace quorvane::system
