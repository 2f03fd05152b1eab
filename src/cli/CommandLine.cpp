#include "cli/CommandLine.hpp"

#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <filesystem>
#include <optional>

#include "cli/CommandDefinition.hpp"
#include "cli/HelpText.hpp"
#include "platform/Utf8.hpp"

namespace quorvane::cli {

namespace {

using Action = CommandLine::Action;
using Arguments = std::vector<std::string>;

platform::Result<CommandLine> parseStart(const CommandDefinition&, const Arguments&) {
    return CommandLine{};
}

platform::Result<CommandLine> parseList(const CommandDefinition& definition,
                                        const Arguments& arguments) {
    CommandLine command{.action = Action::list};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
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
            return platform::Error{"unknown option \"" + option + "\" for list; " +
                                   usage(definition).message};
        }
    }
    return command;
}

platform::Result<CommandLine> parseJournal(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    CommandLine command{.action = Action::journal};
    for (const auto& option : arguments) {
        if (option == "--json" && !command.json)
            command.json = true;
        else if (option == "--all" && !command.allEntries)
            command.allEntries = true;
        else
            return usage(definition);
    }
    return command;
}

platform::Result<CommandLine> parseRestore(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    CommandLine command{.action = Action::restore};
    auto& options = command.restore;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (word == "--list")
            options.list = true;
        else if (word == "--json")
            command.json = true;
        else if (word == "--all")
            options.all = true;
        else if (word == "--dry-run")
            options.dryRun = true;
        else if (word == "--force")
            options.force = true;
        else if (word == "--tweak" && hasValue && !options.tweak)
            options.tweak = arguments[++i];
        else if (word == "--since" && hasValue && !options.since)
            options.since = arguments[++i];
        else if (!word.empty() && word.find_first_not_of("#0123456789") == std::string::npos)
            options.entries.push_back(word);
        else
            return usage(definition);
    }
    const bool chosen = options.all || options.tweak || options.since || !options.entries.empty();
    // Either a listing or something to put back, never both, never neither.
    if (options.list == chosen || (command.json && !options.list) ||
        (options.list && (options.dryRun || options.force)))
        return usage(definition);
    return command;
}

platform::Result<CommandLine> parseDesktop(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    CommandLine command{.action = Action::desktop};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--json") {
            command.json = true;
        } else if (arguments[i] == "--watch" && i + 1 < arguments.size()) {
            const std::string& seconds = arguments[++i];
            if (seconds.empty() || seconds.size() > 2 ||
                seconds.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(seconds) < 1 || std::stoi(seconds) > 60)
                return platform::Error{"quorvane: --watch takes 1 to 60 seconds"};
            command.watchSeconds = std::stoi(seconds);
        } else {
            return usage(definition);
        }
    }
    return command;
}

// "displays" and "overlays": a snapshot, for a person or as JSON.
template <CommandLine::Action action>
platform::Result<CommandLine> parseSnapshot(const CommandDefinition& definition,
                                            const Arguments& arguments) {
    if (arguments.empty())
        return CommandLine{.action = action};
    if (arguments.size() == 1 && arguments[0] == "--json")
        return CommandLine{.action = action, .json = true};
    return usage(definition);
}

platform::Result<CommandLine> parseRun(const CommandDefinition& definition,
                                       const Arguments& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::runNamed, .tweakName = arguments[0]};
    return usage(definition);
}

platform::Result<CommandLine> parseToggle(const CommandDefinition& definition,
                                          const Arguments& arguments) {
    if (arguments.size() == 2 && (arguments[1] == "on" || arguments[1] == "off"))
        return CommandLine{
            .action = Action::toggleNamed, .tweakName = arguments[0], .on = arguments[1] == "on"};
    return usage(definition);
}

platform::Result<CommandLine> parseSet(const CommandDefinition& definition,
                                       const Arguments& arguments) {
    if (arguments.size() == 2 && (arguments[1] == "on" || arguments[1] == "off"))
        return CommandLine{
            .action = Action::set, .tweakId = arguments[0], .on = arguments[1] == "on"};
    return usage(definition);
}

// File managers' script hooks hand over paths (relative to where they run
// us) or file URLs; the running instance takes absolute paths only.
platform::Result<CommandLine> parseFinderAction(const CommandDefinition& definition,
                                                const Arguments& arguments) {
    if (arguments.size() < 2)
        return usage(definition);
    CommandLine command{.action = Action::finderAction, .actionId = arguments[0]};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        // A file name is any bytes: they are kept as they are, never
        // converted to text and back.
        std::string path = arguments[i];
        if (path.starts_with("file:")) {
            const QUrl url(QString::fromLatin1(path.data(), static_cast<qsizetype>(path.size())),
                           QUrl::StrictMode);
            if (!url.isValid() || !url.isLocalFile())
                return platform::Error{"not a local file: " + path};
            path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                       .toStdString();
        }
        if (path.empty())
            return platform::Error{"an empty path"};
        const std::filesystem::path given(path);
        command.paths.push_back(
            (given.is_absolute() ? given : std::filesystem::current_path() / given)
                .lexically_normal()
                .string());
    }
    return command;
}

platform::Result<CommandLine> parseFromLink(const CommandDefinition& definition,
                                            const Arguments& arguments) {
    // The desktop entry's command started from a menu, with no link: start.
    if (arguments.empty())
        return CommandLine{};
    if (arguments.size() != 1 || !arguments[0].starts_with("quorvane:"))
        return usage(definition);
    auto command = parseUrl(arguments[0]);
    if (!command)
        return command;
    command.value().fromLink = true;
    command.value().link = arguments[0];
    return command;
}

// `help sim drag`: the words of one command.
platform::Result<CommandLine> parseHelp(const CommandDefinition& definition,
                                        const Arguments& arguments) {
    if (auto known = commandHelp(arguments); !known)
        return platform::Error{known.error().message + "\n" + usage(definition).message};
    return CommandLine{.action = Action::help, .simWords = arguments};
}

platform::Result<CommandLine> parseVersion(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    if (arguments.empty())
        return CommandLine{.action = Action::version};
    return usage(definition);
}

platform::Result<CommandLine> parseUninstallUserFiles(const CommandDefinition& definition,
                                                      const Arguments& arguments) {
    if (arguments.empty())
        return CommandLine{.action = Action::uninstallUserFiles};
    return usage(definition);
}

std::vector<CommandDefinition> makeDefinitions() {
    std::vector<CommandDefinition> definitions{
        {"", "", "start Quorvane", parseStart, {}, "quorvane &"},
        {"list", "[--group GROUP] [--search TEXT] [--json]",
         "list the tweaks and where each acts (this desktop,\nthe simulated Mac, or unavailable "
         "and why); GROUP is\nall (the default), new, popular, random or a\ncategory such as Dock",
         parseList, {}, "quorvane list --group Dock --json"},
        {"run", "\"TWEAK NAME\"", "run a one-shot or script tweak by its name", parseRun,
         {}, "quorvane run \"Empty Trash\""},
        {"toggle", "\"TWEAK NAME\" on|off", "switch a toggle by its name and apply it",
         parseToggle, {}, "quorvane toggle \"Dark Mode\" on"},
        {"set", "TWEAK_ID on|off", "switch a toggle by its id, as its switch does", parseSet,
         {}, "quorvane set ShowHiddenFilesTask on"},
        {"list", "--runnable|--toggles", "the names run and toggle accept", nullptr},
        {"'quorvane://run?name=NAME'", "", "", nullptr},
        {"'quorvane://toggle?name=NAME&on=true'", "",
         "the same actions as links.\nThese go to the running Quorvane, or run here and\nwait "
         "for the tweak when none runs. A tweak's id works\nwhere no name matches; a name that "
         "matches nothing\ndoes nothing and still succeeds.",
         nullptr},
        {"journal", "[--all] [--json]",
         "what Quorvane changed on this machine, oldest first,\nrepeats folded into one line with "
         "their count;\n--all adds the input it watched and made (monitors,\ntaps, posted "
         "events); --json prints the lines as JSON",
         parseJournal, {}, "quorvane journal --all"},
        {"restore", "--list [--json] | [--dry-run] [--force] ENTRY...|--tweak NAME|--since TIME|--all",
         "put back what the tweaks changed, newest first;\n--list shows what can be put back, "
         "each value before\nand after; a value changed since by someone else is\nleft alone "
         "unless --force; --dry-run only says what\nit would do",
         parseRestore, {}, "quorvane restore --tweak \"Auto Hide Dock\" --dry-run"},
        {"finder-action", "ACTION_ID PATH_OR_FILE_URL...",
         "a file action in the running Quorvane: copyPath,\ncopyFilename, copyFileURL, "
         "openInTerminal, openIniTerm,\nopenInVSCode, newTextFile or newFolder",
         parseFinderAction, {}, "quorvane finder-action copyPath ~/Documents/notes.txt"},
        {"desktop", "[--json] [--watch SECONDS]",
         "what Quorvane sees of the desktop: screens, applications,\nwindows front to back, "
         "the element under the pointer;\n--watch prints the input a monitor receives",
         parseDesktop, {}, "quorvane desktop --watch 5"},
        {"displays", "[--json]",
         "the displays behind the screens: arrangement, mirroring,\nheadroom",
         parseSnapshot<Action::displays>, {}, "quorvane displays --json"},
        {"overlays", "[--json]", "the overlay windows Quorvane shows now",
         parseSnapshot<Action::overlays>, {}, "quorvane overlays"},
        {"menu-shortcuts", "[--json]",
         "the keyboard shortcuts in the menus of the application\nin front, as View Shortcuts "
         "reads them",
         parseSnapshot<Action::menuShortcuts>, {}, "quorvane menu-shortcuts --json"},
    };
    return definitions;
}

// The commands after every family: how links are handed over, help and the
// version.
std::vector<CommandDefinition> makeClosingDefinitions() {
    std::vector<CommandDefinition> definitions;
    definitions.push_back({"--from-link", "URL",
                     "how the desktop hands over a link: the same actions,\nbut a tweak that is "
                     "not a preference asks you first;\nwithout a link, as from a menu, it starts",
                     parseFromLink, {}, "quorvane --from-link 'quorvane://run?name=Empty%20Trash'"});
    definitions.push_back({"help", "[COMMAND]", "show this help, or one command's with an example",
                     parseHelp, "-h --help", "quorvane help sim drag"});
    definitions.push_back({"--version", "", "show the version", parseVersion, "version",
                     "quorvane --version"});
    definitions.push_back({"--uninstall-user-files", "",
                     "take away what Quorvane wrote into your desktop's folders:\n"
                     "its application entry and link handler, its start at\n"
                     "login and its file-manager actions; your settings stay.\n"
                     "Quit Quorvane first, or its next start writes them again",
                     parseUninstallUserFiles, {}, "quorvane --uninstall-user-files"});
    return definitions;
}

bool startsWith(const Arguments& arguments, const std::vector<std::string>& name) {
    return arguments.size() >= name.size() &&
           std::equal(name.begin(), name.end(), arguments.begin());
}

// The names a definition answers to, each as its words.
std::vector<std::vector<std::string>> namesOf(const CommandDefinition& definition) {
    std::vector<std::vector<std::string>> names{wordsOf(definition.name)};
    for (const auto& alias : wordsOf(definition.aliases))
        names.push_back({alias});
    return names;
}

constexpr std::string_view urlScheme = "quorvane:";

// What must be text (names, ids, combinations) and is not; paths may be any
// bytes.
std::optional<std::string> notText(const CommandLine& command) {
    const std::pair<const std::string*, const char*> fields[] = {
        {&command.tweakName, "tweak name"}, {&command.tweakId, "tweak id"},
        {&command.eventName, "notification or combination"}, {&command.actionId, "action id"},
        {&command.list.group, "group"}, {&command.list.search, "search text"}};
    for (const auto& [value, what] : fields)
        if (!platform::isValidUtf8(*value))
            return what;
    for (const auto& word : command.simWords)
        if (!platform::isValidUtf8(word))
            return "argument";
    return std::nullopt;
}

}  // namespace

std::vector<std::string> wordsOf(std::string_view text) {
    constexpr std::string_view blanks = " \t\n\v\f\r";
    std::vector<std::string> split;
    for (auto start = text.find_first_not_of(blanks); start != std::string_view::npos;) {
        const auto end = text.find_first_of(blanks, start);
        split.emplace_back(text.substr(start, end - start));
        start = text.find_first_not_of(blanks, end);
    }
    return split;
}

std::string commandLineOf(const CommandDefinition& definition) {
    std::string line = "quorvane";
    if (!definition.name.empty())
        line += " " + std::string(definition.name);
    if (!definition.arguments.empty())
        line += " " + std::string(definition.arguments);
    return line;
}

platform::Error usage(const CommandDefinition& definition) {
    return {"usage: " + commandLineOf(definition)};
}

namespace {

struct CommandTable {
    std::vector<CommandDefinition> definitions = makeDefinitions();
    std::size_t familiesEnd = definitions.size();  // where the next family goes

    CommandTable() {
        const auto closing = makeClosingDefinitions();
        definitions.insert(definitions.end(), closing.begin(), closing.end());
    }
};

CommandTable& commandTable() {
    static CommandTable table;
    return table;
}

}  // namespace

const std::vector<CommandDefinition>& commandDefinitions() {
    return commandTable().definitions;
}

void addCommandFamily(std::span<const CommandDefinition> family) {
    auto& table = commandTable();
    if (family.empty())
        return;
    for (const auto& definition : table.definitions)
        if (definition.name == family.front().name)
            return;
    table.definitions.insert(
        table.definitions.begin() + static_cast<std::ptrdiff_t>(table.familiesEnd), family.begin(),
        family.end());
    table.familiesEnd += family.size();
}

platform::Result<CommandLine> parseUrl(const std::string& text) {
    // A link, and the name it carries once decoded, must be text as the
    // arguments of "run" must: converted, bytes that are not would become
    // replacement characters and name a tweak nobody has.
    if (!platform::isValidUtf8(text))
        return platform::Error{"the link is not valid UTF-8 text"};
    const QUrl url(QString::fromStdString(text), QUrl::StrictMode);
    const QUrlQuery query(url);
    const auto usage = platform::Error{
        "a link is quorvane://run?name=NAME or quorvane://toggle?name=NAME&on=true|false"};
    if (!url.isValid() || url.scheme() != QStringLiteral("quorvane") ||
        !query.hasQueryItem(QStringLiteral("name")))
        return usage;
    const std::string name =
        QByteArray::fromPercentEncoding(
            query.queryItemValue(QStringLiteral("name"), QUrl::FullyEncoded).toLatin1())
            .toStdString();
    if (!platform::isValidUtf8(name))
        return platform::Error{"the tweak name is not valid UTF-8 text"};
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
    if (arguments.size() == 1 && arguments.front().starts_with(urlScheme))
        return parseUrl(arguments.front());
    // The longest name that the arguments start with: "sim post" before "sim".
    const CommandDefinition* chosen = nullptr;
    std::size_t chosenWords = 0;
    for (const auto& definition : commandDefinitions()) {
        if (!definition.parse)
            continue;
        for (const auto& name : namesOf(definition)) {
            const bool matches = name.empty() ? arguments.empty() : startsWith(arguments, name);
            if (matches && (!chosen || name.size() > chosenWords)) {
                chosen = &definition;
                chosenWords = name.size();
            }
        }
    }
    if (chosen) {
        auto command = chosen->parse(
            *chosen,
            Arguments(arguments.begin() + static_cast<std::ptrdiff_t>(chosenWords), arguments.end()));
        if (command)
            if (auto bad = notText(command.value()))
                return platform::Error{"the " + *bad + " is not valid UTF-8 text"};
        return command;
    }
    // A family named right with a wrong word after it: say what the family takes.
    std::string family;
    for (const auto& definition : commandDefinitions())
        if (definition.parse && definition.name.starts_with(arguments.front() + " "))
            family += "\n  " + usage(definition).message.substr(std::string_view("usage: ").size());
    if (!family.empty())
        return platform::Error{"usage:" + family};
    return platform::Error{"unknown command \"" + arguments.front() +
                           "\"; run \"quorvane --help\" for the commands"};
}

}  // namespace quorvane::cli
