#pragma once

#include <span>

#include "cli/CommandDefinition.hpp"

namespace quorvane::simmac {

// The simulated Mac's commands ("sim ..."). Their names follow one rule:
// "sim NOUN" shows something, "sim NOUN VERB" changes it (the first few,
// "sim grant", "sim revoke", "sim post" and "sim press", came before it).
std::span<const cli::CommandDefinition> simCommandDefinitions();

// Adds them to the command line's table; once is enough.
void addSimCommands();

}  // namespace quorvane::simmac
