#include "cli/HelpText.hpp"

#include <map>
#include <set>
#include <sstream>

#include "cli/CommandDefinition.hpp"

namespace quorvane::cli {

namespace {

std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> split;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);)
        split.push_back(line);
    return split;
}

std::string joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string text;
    for (const auto& part : parts)
        text += (text.empty() ? "" : std::string(between)) + part;
    return text;
}

// Roff takes a backslash as an escape, a leading dot or quote as a
// request, and "-" as a hyphen that may be typeset as a dash.
std::string roff(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else if (c == '"')
            escaped += "\\(dq";
        else
            escaped += c;
    }
    std::string guarded;
    for (const auto& line : lines(escaped)) {
        if (!line.empty() && (line[0] == '.' || line[0] == '\''))
            guarded += "\\&";
        guarded += line + "\n";
    }
    return guarded;
}

// What a shell can offer for one command, read from its arguments:
// options ("--json"), the words that may come first ("add", "move" of
// "[add NAME | move ID X Y]", or a marker for a kind of value) and the
// fixed words that may come later ("on", "off").
struct Completions {
    std::set<std::string> options;
    std::set<std::string> first;
    std::set<std::string> later;
};

bool isLiteral(const std::string& word) {
    return !word.empty() && word[0] >= 'a' && word[0] <= 'z' &&
           word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-") ==
               std::string::npos;
}

void readArguments(const CommandDefinition& definition, Completions& into) {
    const std::string name(definition.name);
    const auto tokens = wordsOf(definition.arguments);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string token = tokens[i];
        std::erase(token, '[');
        std::erase(token, ']');
        if (token.ends_with("..."))
            token.resize(token.size() - 3);
        // The first slot: the first token, and whatever follows a "|" that
        // stands alone between alternatives of several words.
        const bool firstSlot = i == 0 || (tokens[i - 1] == "|" && !into.first.empty());
        if (token.starts_with("\"TWEAK")) {
            into.first.insert(name == "run" ? "@runnable" : "@toggles");
            continue;
        }
        if (token.find("PATH") != std::string::npos) {
            into.later.insert("@files");
            if (i == 0)
                into.first.insert("@files");
            continue;
        }
        if (token == "COMMAND") {
            into.first.insert("@commands");
            continue;
        }
        std::istringstream alternatives(token);
        for (std::string word; std::getline(alternatives, word, '|');) {
            if (word.starts_with("--"))
                into.options.insert(word);
            else if (isLiteral(word))
                (firstSlot ? into.first : into.later).insert(word);
        }
    }
}

std::string spaced(const std::set<std::string>& words) {
    return joined(std::vector<std::string>(words.begin(), words.end()), " ");
}

}  // namespace

std::string usageText() {
    constexpr std::size_t column = 27;
    std::string text = "Usage:\n";
    for (const auto& definition : commandDefinitions()) {
        const std::string head = "  " + commandLineOf(definition);
        const auto summary = lines(definition.summary);
        std::size_t first = 0;
        if (!summary.empty() && head.size() + 2 <= column) {
            text += head + std::string(column - head.size(), ' ') + summary[0] + "\n";
            first = 1;
        } else {
            text += head + "\n";
        }
        for (std::size_t i = first; i < summary.size(); ++i)
            text += std::string(column, ' ') + summary[i] + "\n";
    }
    text += "\nRun \"quorvane help COMMAND\" for one command with an example.\n";
    return text;
}

std::string versionText() {
    return std::string("Quorvane ") + QUORVANE_VERSION + "\n";
}

platform::Result<std::string> commandHelp(const std::vector<std::string>& words) {
    if (words.empty())
        return usageText();
    const std::string asked = joined(words, " ");
    std::string text;
    for (const auto& definition : commandDefinitions()) {
        bool named = definition.name == asked;
        for (const auto& alias : wordsOf(definition.aliases))
            named = named || alias == asked;
        if (!named)
            continue;
        text +=
            (text.empty() ? "" : "\n") + std::string("usage: ") + commandLineOf(definition) + "\n";
        for (const auto& line : lines(definition.summary))
            text += "  " + line + "\n";
        if (!definition.example.empty())
            text += "example:\n  " + std::string(definition.example) + "\n";
    }
    if (!text.empty())
        return text;
    // The first words of a family ("sim"): its commands, each with its
    // summary.
    for (const auto& definition : commandDefinitions()) {
        if (!definition.parse || !definition.name.starts_with(asked + " "))
            continue;
        text += "  " + commandLineOf(definition) + "\n";
        for (const auto& line : lines(definition.summary))
            text += "      " + line + "\n";
    }
    if (text.empty())
        return platform::Error{"no command is named \"" + asked +
                               "\"; run \"quorvane --help\" for the commands"};
    return "The \"" + asked + "\" commands:\n" + text + "\nRun \"quorvane help " + asked +
           " COMMAND\" for one command with an example.\n";
}

std::string manPage() {
    std::string page;
    page += ".TH QUORVANE 1 \"\" \"Quorvane " QUORVANE_VERSION "\" \"User Commands\"\n";
    page += ".SH NAME\nquorvane \\- small system tweaks from the menu bar and the command line\n";
    page += ".SH SYNOPSIS\n.B quorvane\n.RI [ COMMAND ]\n.RI [ ARGUMENTS ...]\n";
    page += ".SH DESCRIPTION\n" + roff(
        "Without a command, quorvane starts: a status item, a main window listing the "
        "catalogue of tweaks, global shortcuts, workflows and automation on system events. "
        "It runs once per user; a second start shows the running one's window.") +
            ".PP\n" + roff(
        "The commands below talk to the running Quorvane through its control socket. "
        "Those that change something run in a short-lived instance when none runs, and "
        "wait for the tweak to finish.");
    page += ".SH COMMANDS\n";
    for (const auto& definition : commandDefinitions()) {
        page += ".TP\n.B " + roff(commandLineOf(definition));
        for (const auto& alias : wordsOf(definition.aliases))
            page += ".PD 0\n.TP\n.B " + roff("quorvane " + alias) + ".PD\n";
        page += roff(joined(lines(definition.summary), " "));
        if (!definition.example.empty())
            page += ".IP\nExample:\n.RS\n.EX\n" + roff(definition.example) + ".EE\n.RE\n";
    }
    page += ".SH EXIT STATUS\n";
    for (const auto& [status, meaning] :
         std::map<int, const char*>{{0, "done (also for a name that matches no tweak)"},
                                    {1, "refused or failed"},
                                    {2, "a usage mistake, or an argument that must be text is not UTF-8"},
                                    {3, "sent, but no answer within the command's deadline (it may "
                                        "still be carried out)"}})
        page += ".TP\n.B " + std::to_string(status) + "\n" + roff(meaning);
    page += ".SH ENVIRONMENT\n";
    for (const auto& [name, meaning] : std::map<std::string, const char*>{
             {"DISPLAY, WAYLAND_DISPLAY",
              "the desktop. In an X11 session (DISPLAY, with an EWMH window manager and the RECORD, "
              "XTEST and RandR extensions) the window, input, display, clipboard and text "
              "recognition tweaks act on the real desktop; volume, Bluetooth, the default browser "
              "and the file managers' actions are the desktop's wherever their services run. "
              "Under Wayland, and with no display at all, those tweaks act on the simulated "
              "Mac's desktop instead; with no display the main window is not shown (set "
              "QT_QPA_PLATFORM=offscreen to run without one). What only a Mac has (the Dock, "
              "Finder, Xcode preferences) is the simulated Mac's everywhere."},
             {"QUORVANE_AUDIO", "\"silent\" mixes key clicks without playing them."},
             {"QUORVANE_DESKTOP", "\"simulated\" acts on the simulated desktop even in an X11 session."},
             {"QUORVANE_EFFECT_SEED",
              "a whole number that fixes the screen effects' particles, so each run draws the "
              "same frames."},
             {"QUORVANE_PUBLIC_IP_URL", "the service Public Ip asks for the address (an https URL)."},
             {"QUORVANE_SIM_HOME", "the simulated Mac's folder (an absolute path)."},
             {"QUORVANE_SYSTEM_EVENTS",
              "\"simulated\": automation ignores the session's sleep, lock and screen saver "
              "events and follows only quorvane sim post."},
             {"QUORVANE_TRACE_STARTUP", "set: the start-up steps and their times go to standard error."},
             {"XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_STATE_HOME, XDG_CACHE_HOME, XDG_RUNTIME_DIR",
              "where records, settings, the activity journal, caches and the control socket live."}})
        page += ".TP\n.B " + roff(name) + roff(meaning);
    page += ".SH FILES\n";
    for (const auto& [path, meaning] : std::map<std::string, const char*>{
             {"$XDG_DATA_HOME/com.tarnvell.Quorvane/Default/", "the records: workflows, automation, states."},
             {"$XDG_CONFIG_HOME/com.tarnvell.Quorvane/UserDefaults.json", "the settings."},
             {"$XDG_STATE_HOME/com.tarnvell.Quorvane/journal.jsonl",
              "the activity journal, one JSON object a line, every entry kept: quorvane "
              "journal shows its changes, quorvane journal --all the input too."},
             {"$XDG_STATE_HOME/com.tarnvell.Quorvane/restore.json",
              "what the tweaks changed, with what it replaced: quorvane restore puts it back."},
             {"$XDG_DATA_HOME/applications/com.tarnvell.Quorvane.desktop",
              "the link handler of a program run from outside a package; quorvane "
              "--uninstall-user-files takes it away."}})
        page += ".TP\n.I " + roff(path) + roff(meaning);
    return page;
}

std::string bashCompletion() {
    std::set<std::string> topWords;
    std::map<std::string, std::set<std::string>> subcommands;
    std::map<std::string, Completions> commands;
    for (const auto& definition : commandDefinitions()) {
        auto names = wordsOf(definition.name);
        if (names.empty() || names[0].starts_with("'"))
            continue;  // starting, and the links, which are not typed words
        topWords.insert(names[0]);
        if (names.size() > 1)
            subcommands[names[0]].insert(names[1]);
        for (const auto& alias : wordsOf(definition.aliases))
            topWords.insert(alias);
        readArguments(definition, commands[std::string(definition.name)]);
        for (const auto& alias : wordsOf(definition.aliases))
            readArguments(definition, commands[alias]);
    }
    std::string script =
        "# bash completion for quorvane, generated from its table of commands.\n"
        "# shellcheck shell=bash\n\n"
        "declare -gA _quorvane_sub=(\n";
    for (const auto& [family, words] : subcommands)
        script += "    [" + family + "]=\"" + spaced(words) + "\"\n";
    script += ")\ndeclare -gA _quorvane_options=(\n";
    for (const auto& [name, found] : commands)
        if (!found.options.empty())
            script += "    [\"" + name + "\"]=\"" + spaced(found.options) + "\"\n";
    script += ")\ndeclare -gA _quorvane_first=(\n";
    for (const auto& [name, found] : commands)
        if (!found.first.empty())
            script += "    [\"" + name + "\"]=\"" + spaced(found.first) + "\"\n";
    script += ")\ndeclare -gA _quorvane_later=(\n";
    for (const auto& [name, found] : commands)
        if (!found.later.empty())
            script += "    [\"" + name + "\"]=\"" + spaced(found.later) + "\"\n";
    script += ")\n_quorvane_commands=\"" + spaced(topWords) + "\"\n\n";
    script += R"(_quorvane_offer() {
    local cur=$1 word names
    shift
    for word in "$@"; do
        case $word in
            @runnable | @toggles)
                names=$(quorvane list "--${word#@}" 2>/dev/null)
                local IFS=$'\n'
                COMPREPLY+=($(compgen -W "$names" -- "$cur"))
                unset IFS
                ;;
            @files) COMPREPLY+=($(compgen -f -- "$cur")) ;;
            @commands) COMPREPLY+=($(compgen -W "$_quorvane_commands" -- "$cur")) ;;
            *) COMPREPLY+=($(compgen -W "$word" -- "$cur")) ;;
        esac
    done
}

_quorvane() {
    local cur=${COMP_WORDS[COMP_CWORD]} command start positional=0 i
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        _quorvane_offer "$cur" $_quorvane_commands
        return
    fi
    command=${COMP_WORDS[1]}
    start=2
    if [[ -n ${_quorvane_sub[$command]:-} ]]; then
        if ((COMP_CWORD == 2)); then
            _quorvane_offer "$cur" ${_quorvane_sub[$command]}
            return
        fi
        command="$command ${COMP_WORDS[2]}"
        start=3
    fi
    if [[ $cur == -* ]]; then
        _quorvane_offer "$cur" ${_quorvane_options[$command]:-}
        return
    fi
    for ((i = start; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] || ((positional++))
    done
    if ((positional == 0)); then
        _quorvane_offer "$cur" ${_quorvane_first[$command]:-}
    else
        _quorvane_offer "$cur" ${_quorvane_later[$command]:-}
    fi
    # Tweak names hold spaces: each offer is one word.
    local j
    for j in "${!COMPREPLY[@]}"; do
        [[ ${COMPREPLY[j]} == *" "* ]] && COMPREPLY[j]=$(printf '%q' "${COMPREPLY[j]}")
    done
}

complete -F _quorvane quorvane
)";
    return script;
}

}  // namespace quorvane::cli
