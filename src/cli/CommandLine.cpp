#include "cli/CommandLine.hpp"

namespace quorvane::cli {

platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return CommandLine{CommandLine::Action::start};
    if (arguments.size() == 1) {
        const std::string& only = arguments.front();
        if (only == "--help" || only == "-h" || only == "help")
            return CommandLine{CommandLine::Action::help};
        if (only == "--version" || only == "version")
            return CommandLine{CommandLine::Action::version};
    }
    return platform::Error{"unknown command \"" + arguments.front() +
                           "\"; run \"quorvane --help\" for the commands"};
}

std::string usageText() {
    return "Usage:\n"
           "  quorvane              start Quorvane\n"
           "  quorvane --help       show this help\n"
           "  quorvane --version    show the version\n";
}

std::string versionText() {
    return std::string("Quorvane ") + QUORVANE_VERSION + "\n";
}

}  // namespace quorvane::cli
