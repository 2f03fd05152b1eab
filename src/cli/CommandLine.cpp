#include "cli/CommandLine.hpp"

namespace quorvane::cli {

namespace {

platform::Result<CommandLine> parseList(const std::vector<std::string>& arguments) {
    CommandLine command{CommandLine::Action::list, {}};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--json") {
            command.list.json = true;
        } else if (option == "--group" || option == "--search") {
            if (i + 1 == arguments.size())
                return platform::Error{option + " needs a value"};
            (option == "--group" ? command.list.group : command.list.search) = arguments[++i];
        } else {
            return platform::Error{"unknown option \"" + option + "\" for list"};
        }
    }
    return command;
}

}  // namespace

platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return CommandLine{CommandLine::Action::start, {}};
    const std::string& first = arguments.front();
    if (first == "list")
        return parseList(arguments);
    if (arguments.size() == 1) {
        if (first == "--help" || first == "-h" || first == "help")
            return CommandLine{CommandLine::Action::help, {}};
        if (first == "--version" || first == "version")
            return CommandLine{CommandLine::Action::version, {}};
    }
    return platform::Error{"unknown command \"" + first +
                           "\"; run \"quorvane --help\" for the commands"};
}

std::string usageText() {
    return "Usage:\n"
           "  quorvane                 start Quorvane\n"
           "  quorvane list [--group GROUP] [--search TEXT] [--json]\n"
           "                           list the tweaks; GROUP is all (the default), new,\n"
           "                           popular, random or a category such as Dock\n"
           "  quorvane --help          show this help\n"
           "  quorvane --version       show the version\n";
}

std::string versionText() {
    return std::string("Quorvane ") + QUORVANE_VERSION + "\n";
}

}  // namespace quorvane::cli
