#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.hpp"

namespace quorvane::cli {

// One command of the command line: the words that name it, what follows
// them, what it does, and the parser of what follows. The parser, the help
// and the usage messages all come from the table of these.
struct CommandDefinition {
    using Parse = platform::Result<CommandLine> (*)(const CommandDefinition& definition,
                                                    const std::vector<std::string>& arguments);

    std::string_view name;       // "list", "sim post"; empty for starting the program
    std::string_view arguments;  // "[--json]", shown after the name
    std::string_view summary;    // lines of the help; "\n" between them
    Parse parse = nullptr;       // none: a form shown in the help, parsed elsewhere (links)
    std::string_view aliases{};  // other names, space-separated ("-h help")
    std::string_view example{};  // one command line that uses it, for `help COMMAND` and the manual
};

// "sim  drag" -> {"sim", "drag"}
std::vector<std::string> wordsOf(std::string_view text);

// "quorvane list [--group GROUP] ...": the command as the help shows it.
std::string commandLineOf(const CommandDefinition& definition);

// "usage: quorvane list [--group GROUP] ..."
platform::Error usage(const CommandDefinition& definition);

// Every command, in the order the help lists them: the command line's own,
// with the families the program's parts add (the simulated Mac's "sim ...")
// before the last few (links, help, version).
const std::vector<CommandDefinition>& commandDefinitions();

// Adds a family of commands to the table. Done by whoever assembles the
// program, before the first command line is read; adding the same family
// again changes nothing.
void addCommandFamily(std::span<const CommandDefinition> family);

}  // namespace quorvane::cli
