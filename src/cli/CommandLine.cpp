#include "cli/CommandLine.hpp"

#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace quorvane::cli {

namespace {

using Action = CommandLine::Action;

platform::Result<CommandLine> parseList(const std::vector<std::string>& arguments) {
    CommandLine command{.action = Action::list};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--json") {
            command.list.json = true;
        } else if (option == "--runnable") {
            command.list.choices = ListOptions::Choices::runnable;
        } else if (option == "--toggles") {
            command.list.choices = ListOptions::Choices::toggles;
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

platform::Result<CommandLine> parseJournal(const std::vector<std::string>& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::journal};
    if (arguments.size() == 2 && arguments[1] == "--json")
        return CommandLine{.action = Action::journal, .json = true};
    return platform::Error{"usage: quorvane journal [--json]"};
}

platform::Result<CommandLine> parseSim(const std::vector<std::string>& arguments) {
    if (arguments.size() == 3 && arguments[1] == "admin" &&
        (arguments[2] == "approve" || arguments[2] == "cancel"))
        return CommandLine{.action = Action::simAdmin, .adminApproves = arguments[2] == "approve"};
    if (arguments.size() == 3 && (arguments[1] == "grant" || arguments[1] == "revoke") &&
        (arguments[2] == "accessibility" || arguments[2] == "screenRecording"))
        return CommandLine{
            .action = Action::simGrant, .on = arguments[1] == "grant", .permission = arguments[2]};
    if (arguments.size() == 3 && arguments[1] == "post")
        return CommandLine{.action = Action::simPost, .eventName = arguments[2]};
    if (arguments.size() == 3 && arguments[1] == "press")
        return CommandLine{.action = Action::simPress, .eventName = arguments[2]};
    return platform::Error{
        "usage: quorvane sim admin approve|cancel, quorvane sim grant|revoke "
        "accessibility|screenRecording, quorvane sim post NOTIFICATION, or quorvane sim press "
        "COMBINATION"};
}

platform::Result<CommandLine> parseRun(const std::vector<std::string>& arguments) {
    if (arguments.size() == 2)
        return CommandLine{.action = Action::runNamed, .tweakName = arguments[1]};
    return platform::Error{"usage: quorvane run \"TWEAK NAME\""};
}

// File managers' script hooks hand over paths (relative to where they run
// us) or file URLs; the running instance takes absolute paths only.
platform::Result<CommandLine> parseFinderAction(const std::vector<std::string>& arguments) {
    if (arguments.size() < 3)
        return platform::Error{"usage: quorvane finder-action ACTION_ID PATH_OR_FILE_URL..."};
    CommandLine command{.action = Action::finderAction, .actionId = arguments[1]};
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        const QString argument = QString::fromStdString(arguments[i]);
        QString path = argument;
        if (argument.startsWith(QStringLiteral("file:"))) {
            const QUrl url(argument);
            if (!url.isLocalFile())
                return platform::Error{"not a local file: " + arguments[i]};
            path = url.toLocalFile();
        }
        command.paths.push_back(QFileInfo(path).absoluteFilePath().toStdString());
    }
    return command;
}

platform::Result<CommandLine> parseToggle(const std::vector<std::string>& arguments) {
    if (arguments.size() == 3 && (arguments[2] == "on" || arguments[2] == "off"))
        return CommandLine{
            .action = Action::toggleNamed, .tweakName = arguments[1], .on = arguments[2] == "on"};
    return platform::Error{"usage: quorvane toggle \"TWEAK NAME\" on|off"};
}

platform::Result<CommandLine> parseSet(const std::vector<std::string>& arguments) {
    if (arguments.size() == 3 && (arguments[2] == "on" || arguments[2] == "off"))
        return CommandLine{
            .action = Action::set, .tweakId = arguments[1], .on = arguments[2] == "on"};
    return platform::Error{"usage: quorvane set TWEAK_ID on|off"};
}

constexpr std::string_view urlScheme = "quorvane:";

}  // namespace

platform::Result<CommandLine> parseUrl(const std::string& text) {
    const QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    const QUrlQuery query(url);
    const auto usage = platform::Error{
        "a link is quorvane://run?name=NAME or quorvane://toggle?name=NAME&on=true|false"};
    if (!url.isValid() || url.scheme() != QStringLiteral("quorvane") ||
        !query.hasQueryItem(QStringLiteral("name")))
        return usage;
    const std::string name =
        query.queryItemValue(QStringLiteral("name"), QUrl::FullyDecoded).toStdString();
    if (url.host() == QStringLiteral("run") && !query.hasQueryItem(QStringLiteral("on")))
        return CommandLine{.action = Action::runNamed, .tweakName = name};
    if (url.host() != QStringLiteral("toggle"))
        return usage;
    const QString on = query.queryItemValue(QStringLiteral("on")).toLower();
    if (on != QStringLiteral("true") && on != QStringLiteral("false"))
        return usage;
    return CommandLine{
        .action = Action::toggleNamed, .tweakName = name, .on = on == QStringLiteral("true")};
}

platform::Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty())
        return CommandLine{};
    const std::string& first = arguments.front();
    if (first == "list")
        return parseList(arguments);
    if (first == "journal")
        return parseJournal(arguments);
    if (first == "sim")
        return parseSim(arguments);
    if (first == "run")
        return parseRun(arguments);
    if (first == "set")
        return parseSet(arguments);
    if (first == "toggle")
        return parseToggle(arguments);
    if (first == "finder-action")
        return parseFinderAction(arguments);
    if (arguments.size() == 1 && first.starts_with(urlScheme))
        return parseUrl(first);
    if (arguments.size() == 1) {
        if (first == "--help" || first == "-h" || first == "help")
            return CommandLine{.action = Action::help};
        if (first == "--version" || first == "version")
            return CommandLine{.action = Action::version};
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
           "  quorvane run \"TWEAK NAME\"\n"
           "                           run a one-shot or script tweak by its name\n"
           "  quorvane toggle \"TWEAK NAME\" on|off\n"
           "                           switch a toggle by its name and apply it\n"
           "  quorvane set TWEAK_ID on|off\n"
           "                           switch a toggle by its id, as its switch does\n"
           "  quorvane list --runnable|--toggles\n"
           "                           the names run and toggle accept\n"
           "  quorvane 'quorvane://run?name=NAME'\n"
           "  quorvane 'quorvane://toggle?name=NAME&on=true'\n"
           "                           the same actions as links\n"
           "                           These go to the running Quorvane, or run here and\n"
           "                           wait for the tweak when none runs. A tweak's id works\n"
           "                           where no name matches; a name that matches nothing\n"
           "                           does nothing and still succeeds.\n"
           "  quorvane journal [--json]\n"
           "                           what Quorvane changed on this machine, oldest first\n"
           "  quorvane sim admin approve|cancel\n"
           "                           how the simulated Mac answers administrator prompts\n"
           "  quorvane sim grant|revoke accessibility|screenRecording\n"
           "                           the simulated Mac's privacy permissions\n"
           "  quorvane finder-action ACTION_ID PATH_OR_FILE_URL...\n"
           "                           a file action in the running Quorvane: copyPath,\n"
           "                           copyFilename, copyFileURL, openInTerminal, openIniTerm,\n"
           "                           openInVSCode, newTextFile or newFolder\n"
           "  quorvane sim post NOTIFICATION\n"
           "                           post a system event to the running Quorvane, e.g.\n"
           "                           com.apple.screenIsLocked or\n"
           "                           NSWorkspaceWillSleepNotification\n"
           "  quorvane sim press COMBINATION\n"
           "                           press a shortcut on the simulated Mac's keyboard, e.g.\n"
           "                           Ctrl+Alt+K (in an X11 session, press the keys instead)\n"
           "  quorvane --help          show this help\n"
           "  quorvane --version       show the version\n";
}

std::string versionText() {
    return std::string("Quorvane ") + QUORVANE_VERSION + "\n";
}

}  // namespace quorvane::cli
