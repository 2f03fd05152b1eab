#include "simmac/SimScripting.hpp"

#include <charconv>
#include <sstream>

#include "platform/Quoting.hpp"
#include "platform/RecentHistory.hpp"
#include "simmac/PreferenceDomains.hpp"

namespace quorvane::platform::sim {

// A running program runs scripts for as long as it lives; tests look at the
// last few.
constexpr std::size_t keptSources = 256;

namespace {

constexpr std::string_view shellPrefix = "do shell script \"";
constexpr std::string_view adminSuffix = "with administrator privileges";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

ScriptOutcome failure(std::string message, std::int64_t number) {
    ScriptOutcome outcome;
    outcome.errorInfo["NSAppleScriptErrorMessage"] = std::move(message);
    outcome.errorInfo["NSAppleScriptErrorNumber"] = number;
    return outcome;
}

bool contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// What macOS answers a script that drives System Events without the
// Accessibility permission: typing is refused with 1002, reading or
// clicking other applications' interface with -1719.
std::optional<ScriptOutcome> refusedWithoutAccessibility(const std::string& source) {
    // The dock preferences are settings, not another program's interface.
    if (!contains(source, "application \"System Events\"") || contains(source, "dock preferences"))
        return std::nullopt;
    if (contains(source, "keystroke") || contains(source, "key code"))
        return failure("System Events got an error: Quorvane is not allowed to send keystrokes.",
                       1002);
    for (std::string_view uiScripting : {"click", "UI element", "menu bar", "window", "attribute",
                                         "perform action", "entire contents"})
        if (contains(source, uiScripting))
            return failure("System Events got an error: Quorvane is not allowed assistive access.",
                           -1719);
    return std::nullopt;
}

// The source as one line: blanks and line ends between words become one
// blank, none at either end.
std::string oneLine(std::string_view source) {
    std::string line;
    for (char c : source) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank)
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    if (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

std::optional<SoundVolume::Channel> channelNamed(std::string_view name) {
    if (name == "output")
        return SoundVolume::Channel::output;
    if (name == "input")
        return SoundVolume::Channel::input;
    return std::nullopt;
}

ScriptOutcome answer(std::string result) {
    ScriptOutcome outcome;
    outcome.result = std::move(result);
    return outcome;
}

constexpr std::string_view menuBarTell = "tell application \"System Events\" tell dock preferences to ";
constexpr std::string_view menuBarKey = "_HIHideMenuBar";

}  // namespace

SimScripting::SimScripting(ShellRunner& shell, const SimHome& home, Journal& journal,
                           SoundVolume& volume)
    : shell_(shell), home_(home), journal_(journal), volume_(volume) {}

// "output volume of (get volume settings)", "set volume input volume 35".
std::optional<ScriptOutcome> SimScripting::runVolumeSettings(const std::string& statement) {
    constexpr std::string_view readSuffix = " volume of (get volume settings)";
    if (statement.ends_with(readSuffix)) {
        const auto channel = channelNamed(
            std::string_view(statement).substr(0, statement.size() - readSuffix.size()));
        if (!channel)
            return std::nullopt;
        const auto level = volume_.volume(*channel);
        return level ? answer(std::to_string(*level)) : answer("missing value");
    }
    constexpr std::string_view setPrefix = "set volume ";
    if (!statement.starts_with(setPrefix))
        return std::nullopt;
    std::istringstream words(statement.substr(setPrefix.size()));
    std::string name, volumeWord, number, rest;
    words >> name >> volumeWord >> number >> rest;
    const auto channel = channelNamed(name);
    int level = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), level);
    if (!channel || volumeWord != "volume" || !rest.empty() || parsed.ec != std::errc() ||
        parsed.ptr != number.data() + number.size())
        return std::nullopt;
    if (auto set = volume_.setVolume(*channel, level); !set)
        return failure(set.error().message, -10000);
    return ScriptOutcome{};
}

std::optional<ScriptOutcome> SimScripting::runMenuBarAutohide(const std::string& statement) {
    if (!statement.starts_with(menuBarTell) || !statement.ends_with(" end tell"))
        return std::nullopt;
    const std::string asked =
        statement.substr(menuBarTell.size(), statement.size() - menuBarTell.size() - 9);
    const auto file = domains::fileOf(home_.homeDirectory(), "NSGlobalDomain", false);
    if (asked == "get autohide menu bar") {
        const auto values = domains::load(file);
        const bool hidden = values && values->contains(menuBarKey) &&
                            (*values)[std::string(menuBarKey)] == true;
        return answer(hidden ? "true" : "false");
    }
    if (asked != "set autohide menu bar to true" && asked != "set autohide menu bar to false")
        return std::nullopt;
    const bool hide = asked.ends_with("true");
    auto values = domains::load(file).value_or(nlohmann::ordered_json::object());
    values[std::string(menuBarKey)] = hide;
    if (auto saved = domains::save(file, values); !saved)
        return failure(saved.error().message, -10000);
    journal_.record("SimulatedMac", "menu bar", hide ? "hides automatically" : "always shown");
    return ScriptOutcome{};
}

std::optional<SimScripting::ShellScript> SimScripting::parseShellScript(const std::string& source) {
    if (!source.starts_with(shellPrefix))
        return std::nullopt;
    std::size_t end = shellPrefix.size();
    while (end < source.size() && source[end] != '"')
        end += source[end] == '\\' ? 2u : 1u;
    if (end >= source.size())
        return std::nullopt;
    const auto rest = trimmed(std::string_view(source).substr(end + 1));
    if (!rest.empty() && rest != adminSuffix)
        return std::nullopt;
    return ShellScript{appleScriptUnescape(std::string_view(source).substr(
                           shellPrefix.size(), end - shellPrefix.size())),
                       !rest.empty()};
}

bool SimScripting::compiles(const std::string& source) {
    bool inString = false;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (inString && source[i] == '\\')
            ++i;
        else if (source[i] == '"')
            inString = !inString;
    }
    if (inString)
        return false;
    int depth = 0;
    std::istringstream lines(source);
    for (std::string raw; std::getline(lines, raw);) {
        const auto line = trimmed(raw);
        if (line.starts_with("end tell") || line.starts_with("end if")) {
            if (--depth < 0)
                return false;
        } else if ((line.starts_with("tell ") && line.find(" to ") == std::string_view::npos) ||
                   (line.starts_with("if ") && line.ends_with(" then"))) {
            ++depth;
        }
    }
    return depth == 0;
}

ScriptOutcome SimScripting::runShell(const ShellScript& script) {
    if (script.asAdmin) {
        const bool approved = home_.adminPromptApproves();
        journal_.record("SimulatedMac", "admin prompt", approved ? "approved" : "cancelled");
        if (!approved)
            return failure("User canceled.", -128);
    }
    auto ran = shell_.run(script.command);
    if (!ran)
        return failure(ran.error().message, 1);
    ScriptOutcome outcome;
    outcome.result = ran.value();
    return outcome;
}

ScriptOutcome SimScripting::execute(const std::string& source) {
    {
        std::lock_guard lock(mutex_);
        keepRecent(sources_, source, keptSources);
        if (auto canned = canned_.find(source); canned != canned_.end())
            return canned->second;
    }
    if (!home_.isGranted(Permission::accessibility))
        if (auto refused = refusedWithoutAccessibility(source))
            return *refused;
    if (auto script = parseShellScript(source))
        return runShell(*script);
    const std::string statement = oneLine(source);
    if (auto volume = runVolumeSettings(statement))
        return *volume;
    if (auto menuBar = runMenuBarAutohide(statement))
        return *menuBar;
    if (!compiles(source))
        return failure("Expected end of line but found end of script.", -2741);
    return {};
}

void SimScripting::setCanned(const std::string& source, ScriptOutcome outcome) {
    std::lock_guard lock(mutex_);
    canned_[source] = std::move(outcome);
}

std::vector<std::string> SimScripting::sources() const {
    std::lock_guard lock(mutex_);
    return sources_;
}

}  // namespace quorvane::platform::sim
