#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::cli {

// `quorvane list`: the catalogue, filtered like the main window's list.
struct ListOptions {
    std::string group = "all";  // all, new, popular, random or a category
    std::string search;
    bool json = false;
    // Only the names "quorvane run" (one-shots) or "quorvane toggle"
    // (toggles) accept, one per line.
    enum class Choices { none, runnable, toggles } choices = Choices::none;
    // Why tweaks cannot work, by id, as the running instance says: it knows
    // the desktop it runs on (a Dock to read, say), which this process,
    // without windows, does not.
    std::map<std::string, std::string> sessionUnavailable{};
    // Whether each toggle is on, by id, as the running instance says: only
    // it knows the states it keeps in memory.
    std::map<std::string, bool> sessionOn{};
    // Where each tweak acts ("desktop", "simulated", "unavailable") and
    // why, by id, as the running instance chose its adapters.
    std::map<std::string, std::pair<std::string, std::string>> sessionActsOn{};
};

// What the user asked for on the command line.
// restore --list | [--dry-run] [--force] (ENTRY... | --tweak NAME | --since TIME | --all)
struct RestoreOptions {
    bool list = false;
    std::vector<std::string> entries{};  // entry numbers, as typed
    std::optional<std::string> tweak{};  // a name or an id
    std::optional<std::string> since{};  // a time as the journal writes it, or its start
    bool all = false;
    bool dryRun = false;
    bool force = false;
};

struct CommandLine {
    enum class Action {
        start,
        help,
        version,
        list,
        journal,
        simAdmin,
        simGrant,
        simHid,
        simVolume,
        simBluetooth,
        simBrowser,
        simPower,
        simColor,
        simPost,
        simPress,
        simDesktop,
        simCamera,
        simDesktopPicture,
        simCapture,
        desktop,
        displays,
        overlays,
        menuShortcuts,
        set,
        runNamed,
        toggleNamed,
        finderAction,
        restore,
        uninstallUserFiles,
    };
    Action action = Action::start;
    ListOptions list{};
    bool json = false;                 // journal --json
    bool allEntries = false;           // journal --all: the input watched and made too
    bool adminApproves = true;         // sim admin approve|cancel
    std::string tweakId{};             // set ID on|off
    std::string tweakName{};           // run NAME, toggle NAME on|off, and their URLs
    bool on = false;                   // set/toggle on|off; sim grant (true) or revoke
    std::string permission{};          // sim grant|revoke accessibility|screenRecording
    std::string eventName{};           // sim post NAME; sim press COMBINATION
    std::string actionId{};            // finder-action ID PATH...
    std::vector<std::string> paths{};  // absolute, from paths or file:// URLs; a picture
    // run or toggle from a link the desktop handed over: it asks the user
    // first, where a command typed in a terminal does not.
    bool fromLink = false;
    std::string link{};
    std::vector<std::string> simWords{};  // sim display|app|window|...; help COMMAND
    int watchSeconds = 0;                // desktop --watch SECONDS
    RestoreOptions restore{};
};

// `arguments` excludes the program name.
platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments);
// "quorvane://run?name=Empty%20Trash" and
// "quorvane://toggle?name=Dark%20Mode&on=true", as the desktop hands them over.
platform::Result<CommandLine> parseUrl(const std::string& url);

}  // namespace quorvane::cli
