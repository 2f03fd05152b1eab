#pragma once

#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::cli {

// What the user asked for on the command line.
struct CommandLine {
    enum class Action { start, help, version };
    Action action = Action::start;
};

// `arguments` excludes the program name.
platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments);

std::string usageText();
std::string versionText();

}  // namespace quorvane::cli
