#pragma once

#include "cli/CommandLine.hpp"

namespace quorvane::app {

// Carries out a command of the command line other than starting the
// program; answers the exit status.
int runCommandLine(const cli::CommandLine& command);

}  // namespace quorvane::app
