#pragma once

#include <optional>

#include "cli/CommandLine.hpp"

namespace quorvane::simmac {

// Carries out a "sim ..." command line: the ones about the simulated Mac's
// folder here, the rest through the running instance. Answers the exit
// status, or nothing when the command is not one of the simulated Mac's.
std::optional<int> runSimCommand(const cli::CommandLine& command);

}  // namespace quorvane::simmac
