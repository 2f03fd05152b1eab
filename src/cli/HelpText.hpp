#pragma once

#include <string>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::cli {

// Everything the command line says about itself comes from its table of
// commands, so the help, the manual and the shell completions cannot drift
// from what the parser accepts.

// `quorvane --help`: every command with its summary.
std::string usageText();
std::string versionText();

// `quorvane help sim drag`: the command's usage, what it does and an
// example; `quorvane help sim`: the family's commands, each with what it
// does. Words that name no command are an error naming them.
platform::Result<std::string> commandHelp(const std::vector<std::string>& words);

// The manual page (roff, section 1).
std::string manPage();

// A bash completion script for `quorvane`: command names, each command's
// options and fixed words, tweak names for `run` and `toggle` (asked of
// `quorvane list`), and files where a command takes paths.
std::string bashCompletion();

}  // namespace quorvane::cli
