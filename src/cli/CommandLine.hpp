#pragma once

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
};

// What the user asked for on the command line.
struct CommandLine {
    enum class Action { start, help, version, list, journal, simAdmin, simGrant, run, set };
    Action action = Action::start;
    ListOptions list{};
    bool json = false;          // journal --json
    bool adminApproves = true;  // sim admin approve|cancel
    std::string tweakId{};      // run ID, set ID on|off
    bool on = false;            // set ID on|off; sim grant (true) or revoke
    std::string permission{};   // sim grant|revoke accessibility|screenRecording
};

// `arguments` excludes the program name.
platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();
std::string versionText();

}  // namespace quorvane::cli
