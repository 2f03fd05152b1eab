#include "simmac/SimDesktopCommand.hpp"

#include <charconv>
#include <cmath>

namespace quorvane::platform::sim {

namespace {

using Kind = SimDesktopCommand::Kind;
using Words = std::span<const std::string>;

constexpr std::string_view usages[] = {
    "display [add NAME WxH [--edr-potential V] | move ID X Y | set ID edr|edrReference|edrPotential V | remove ID]",
    "app [launch NAME [--bundle ID] | activate|hide|hang|quit PID | enhanced-ui PID on|off]",
    "dock autohide on|off",
    "window [add PID TITLE X Y W H [--fixed-size] [--no-minimize] | close N]",
    "menu [add PID MENU/ITEM COMBINATION]",
    "menubar [add NAME WIDTH | remove NAME | drag-separator INDEX]",
    "pointer [X Y]",
    "click X Y [--right]",
    "drag X1 Y1 X2 Y2 [X Y]... [--steps N] [--pause S]",
    "scroll DY [DX] [--trackpad]",
    "key COMBINATION",
    "type TEXT",
    "text",
    "tap-timeout",
    "pasteboard [show | set [--text T] [--type TYPE FILE]...]",
};

std::string numberWord(double value) {
    auto text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.'))
        text.pop_back();
    return text;
}

std::optional<bool> onOff(const std::string& word) {
    if (word == "on")
        return true;
    if (word == "off")
        return false;
    return std::nullopt;
}

Error wrong(std::string_view what) {
    return Error{std::string(what)};
}

std::optional<double> number(const std::string& word) {
    double value = 0;
    const auto* end = word.data() + word.size();
    auto [stop, failed] = std::from_chars(word.data(), end, value);
    if (failed != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> whole(const std::string& word) {
    int value = 0;
    const auto* end = word.data() + word.size();
    auto [stop, failed] = std::from_chars(word.data(), end, value);
    if (failed != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// Reads numbers into `out`, or says which word is not one.
Status numbers(Words words, std::initializer_list<double*> out) {
    std::size_t i = 0;
    for (double* slot : out) {
        auto value = number(words[i]);
        if (!value)
            return Error{"\"" + words[i] + "\" is not a finite number"};
        *slot = *value;
        ++i;
    }
    return success();
}

// Splits trailing options ("--steps 5") from the positional words.
struct Split {
    std::vector<std::string> positional;
    std::vector<std::string> options;
};
Split split(Words words, std::initializer_list<std::string_view> takesValue) {
    Split result;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].starts_with("--") && words[i].size() > 2) {
            result.options.push_back(words[i]);
            for (auto option : takesValue)
                if (words[i] == option && i + 1 < words.size())
                    result.options.push_back(words[++i]);
        } else {
            result.positional.push_back(words[i]);
        }
    }
    return result;
}

Result<int> pidOrNumber(const std::string& word, std::string_view what) {
    auto value = whole(word);
    if (!value || *value <= 0)
        return Error{"\"" + word + "\" is not a " + std::string(what)};
    return *value;
}

Result<SimDesktopCommand> parseDisplay(Words rest) {
    SimDesktopCommand command{.kind = Kind::showDisplays};
    if (rest.empty())
        return command;
    const auto usage = wrong(
        "usage: sim display [add NAME WxH [--edr-potential V] | move ID X Y | "
        "set ID edr|edrReference|edrPotential V | remove ID]");
    if (rest[0] == "add") {
        auto parts = split(rest.subspan(1), {"--edr-potential"});
        if (parts.positional.size() != 2 || parts.positional[0].empty())
            return usage;
        for (std::size_t i = 0; i < parts.options.size(); ++i) {
            if (parts.options[i] != "--edr-potential" || i + 1 == parts.options.size())
                return wrong("unknown option \"" + parts.options[i] + "\" for sim display add");
            auto potential = number(parts.options[++i]);
            if (!potential || *potential < 1 || *potential > 64)
                return wrong("--edr-potential is between 1 and 64");
            command.value = *potential;
        }
        const auto& size = parts.positional[1];
        const auto cross = size.find('x');
        const auto readWidth = cross == std::string::npos ? std::nullopt : number(size.substr(0, cross));
        const auto readHeight =
            cross == std::string::npos ? std::nullopt : number(size.substr(cross + 1));
        if (!readWidth || !readHeight)
            return wrong("a display's size is WIDTHxHEIGHT, e.g. 1920x1080");
        const double width = readWidth.value_or(0);
        const double height = readHeight.value_or(0);
        if (width <= 0 || height <= 0 || width > 100000 || height > 100000)
            return wrong("a display's width and height must be above 0 and at most 100000");
        command.kind = Kind::addDisplay;
        command.name = parts.positional[0];
        command.rect.size = {width, height};
        return command;
    }
    if (rest.size() < 2 || (rest[0] != "remove" && rest[0] != "move" && rest[0] != "set"))
        return usage;
    auto id = pidOrNumber(rest[1], "display id");
    if (!id)
        return id.error();
    command.number = id.value();
    if (rest[0] == "remove" && rest.size() == 2) {
        command.kind = Kind::removeDisplay;
        return command;
    }
    if (rest[0] == "move" && rest.size() == 4) {
        command.kind = Kind::moveDisplay;
        if (auto read = numbers(rest.subspan(2), {&command.from.x, &command.from.y}); !read)
            return read.error();
        return command;
    }
    if (rest[0] == "set" && rest.size() == 4) {
        if (rest[2] != "edr" && rest[2] != "edrReference" && rest[2] != "edrPotential")
            return wrong("a display's values are edr, edrReference and edrPotential");
        command.kind = Kind::setDisplay;
        command.name = rest[2];
        auto value = number(rest[3]);
        if (!value)
            return wrong("\"" + rest[3] + "\" is not a finite number");
        command.value = *value;
        return command;
    }
    return usage;
}

Result<SimDesktopCommand> parseApp(Words rest) {
    SimDesktopCommand command{.kind = Kind::showApps};
    if (rest.empty())
        return command;
    if (rest[0] == "launch") {
        auto parts = split(rest.subspan(1), {"--bundle"});
        if (parts.positional.size() != 1 || parts.positional[0].empty())
            return wrong("usage: sim app launch NAME [--bundle ID]");
        command.kind = Kind::launchApp;
        command.name = parts.positional[0];
        for (std::size_t i = 0; i < parts.options.size(); ++i) {
            if (parts.options[i] == "--bundle" && i + 1 < parts.options.size())
                command.bundle = parts.options[++i];
            else
                return Error{"unknown option " + parts.options[i]};
        }
        return command;
    }
    static constexpr std::pair<std::string_view, Kind> verbs[] = {
        {"activate", Kind::activateApp},
        {"hide", Kind::hideApp},
        {"hang", Kind::hangApp},
        {"quit", Kind::quitApp}};
    for (auto [verb, kind] : verbs) {
        if (rest[0] != verb)
            continue;
        if (rest.size() != 2)
            return Error{"usage: sim app " + std::string(verb) + " PID"};
        auto pid = pidOrNumber(rest[1], "process id");
        if (!pid)
            return pid.error();
        command.kind = kind;
        command.pid = pid.value();
        return command;
    }
    if (rest[0] == "enhanced-ui") {
        auto on = rest.size() == 3 ? onOff(rest[2]) : std::nullopt;
        if (!on)
            return wrong("usage: sim app enhanced-ui PID on|off");
        auto pid = pidOrNumber(rest[1], "process id");
        if (!pid)
            return pid.error();
        return SimDesktopCommand{.kind = Kind::setEnhancedUserInterface, .pid = pid.value(), .on = *on};
    }
    return wrong(
        "usage: sim app [launch NAME [--bundle ID] | activate|hide|hang|quit PID | enhanced-ui PID "
        "on|off]");
}

Result<SimDesktopCommand> parseDock(Words rest) {
    auto on = rest.size() == 2 && rest[0] == "autohide" ? onOff(rest[1]) : std::nullopt;
    if (!on)
        return wrong("usage: sim dock autohide on|off");
    return SimDesktopCommand{.kind = Kind::setDockAutohide, .on = *on};
}

Result<SimDesktopCommand> parseWindow(Words rest) {
    SimDesktopCommand command{.kind = Kind::showWindows};
    if (rest.empty())
        return command;
    if (rest[0] == "add") {
        auto parts = split(rest.subspan(1), {});
        if (parts.positional.size() != 6)
            return wrong("usage: sim window add PID TITLE X Y W H [--fixed-size] [--no-minimize]");
        auto pid = pidOrNumber(parts.positional[0], "process id");
        if (!pid)
            return pid.error();
        command.kind = Kind::addWindow;
        command.pid = pid.value();
        command.name = parts.positional[1];
        Rect& frame = command.rect;
        if (auto read = numbers(Words(parts.positional).subspan(2),
                                {&frame.origin.x, &frame.origin.y, &frame.size.width,
                                 &frame.size.height});
            !read)
            return read.error();
        if (frame.size.width <= 0 || frame.size.height <= 0)
            return wrong("a window's width and height must be above 0");
        for (const auto& option : parts.options) {
            if (option == "--fixed-size")
                command.fixedSize = true;
            else if (option == "--no-minimize")
                command.noMinimize = true;
            else
                return Error{"unknown option " + option};
        }
        return command;
    }
    if (rest[0] == "close" && rest.size() == 2) {
        auto number = pidOrNumber(rest[1], "window number");
        if (!number)
            return number.error();
        command.kind = Kind::closeWindow;
        command.number = number.value();
        return command;
    }
    return wrong("usage: sim window [add PID TITLE X Y W H [--fixed-size] [--no-minimize] | close N]");
}

Result<SimDesktopCommand> parseMenu(Words rest) {
    SimDesktopCommand command{.kind = Kind::showMenus};
    if (rest.empty())
        return command;
    if (rest[0] != "add" || rest.size() != 4)
        return wrong("usage: sim menu [add PID MENU/ITEM COMBINATION]");
    auto pid = pidOrNumber(rest[1], "process id");
    if (!pid)
        return pid.error();
    const auto slash = rest[2].find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == rest[2].size())
        return wrong("a menu item is MENU/ITEM, e.g. File/Save");
    command.kind = Kind::addMenuItem;
    command.pid = pid.value();
    command.name = rest[2];
    command.shortcut = rest[3];
    return command;
}

// Other applications' status items, and the Cmd-drag that moves ours.
Result<SimDesktopCommand> parseMenuBar(Words rest) {
    SimDesktopCommand command{.kind = Kind::showMenuBar};
    if (rest.empty())
        return command;
    const auto usage = wrong("usage: sim menubar [add NAME WIDTH | remove NAME | drag-separator INDEX]");
    if (rest[0] == "add" && rest.size() == 3) {
        const auto width = number(rest[2]);
        if (!width || *width < 1 || *width > 400)
            return wrong("a status item is 1 to 400 points wide, not \"" + rest[2] + "\"");
        if (rest[1].empty())
            return usage;
        command.kind = Kind::addMenuBarItem;
        command.name = rest[1];
        command.value = *width;
        return command;
    }
    if (rest[0] == "remove" && rest.size() == 2) {
        command.kind = Kind::removeMenuBarItem;
        command.name = rest[1];
        return command;
    }
    if (rest[0] == "drag-separator" && rest.size() == 2) {
        const auto index = whole(rest[1]);
        if (!index || *index < 0)
            return wrong("\"" + rest[1] + "\" is not a place in the menu bar (0 is the rightmost)");
        command.kind = Kind::dragSeparator;
        command.number = *index;
        return command;
    }
    return usage;
}

Result<SimDesktopCommand> parsePointerLike(Kind kind, Words rest, std::string_view usage) {
    SimDesktopCommand command{.kind = kind};
    auto parts = split(rest, {"--steps", "--pause"});
    const auto count = parts.positional.size();
    // A drag passes any number of points after its first two.
    const bool fits = kind == Kind::drag
                          ? count >= 4 && count % 2 == 0 && count / 2 <= SimDesktopCommand::maxPoints
                          : count == 2;
    if (!fits)
        return Error{"usage: sim " + std::string(usage)};
    // Far past any arrangement of displays, and near enough that the
    // points between two of a drag, and the moves from one to the next,
    // stay finite.
    constexpr double farthest = 1'000'000;
    for (std::size_t i = 0; i < count; i += 2) {
        Point point;
        if (auto read = numbers(Words(parts.positional).subspan(i, 2), {&point.x, &point.y}); !read)
            return read.error();
        if (std::abs(point.x) > farthest || std::abs(point.y) > farthest)
            return Error{"a point's coordinates lie between -" + numberWord(farthest) + " and " +
                         numberWord(farthest)};
        command.path.push_back(point);
    }
    command.from = command.path.front();
    command.to = command.path.back();
    for (std::size_t i = 0; i < parts.options.size(); ++i) {
        const auto& option = parts.options[i];
        if (kind == Kind::click && option == "--right") {
            command.right = true;
        } else if (kind == Kind::drag && option == "--steps" && i + 1 < parts.options.size()) {
            auto steps = whole(parts.options[++i]);
            if (!steps || *steps < 1 || *steps > SimDesktopCommand::maxSteps)
                return Error{"--steps takes 1 to " + std::to_string(SimDesktopCommand::maxSteps)};
            command.steps = *steps;
        } else if (kind == Kind::drag && option == "--pause" && i + 1 < parts.options.size()) {
            auto pause = number(parts.options[++i]);
            if (!pause || *pause < 0 || *pause > SimDesktopCommand::maxPause)
                return Error{"--pause takes 0 to " + numberWord(SimDesktopCommand::maxPause) +
                             " seconds"};
            command.pause = *pause;
        } else {
            return Error{"unknown option " + option};
        }
    }
    if (kind == Kind::drag) {
        const double legs = double(command.path.size() - 1);
        if (legs * (command.steps * 0.008 + command.pause) > SimDesktopCommand::maxDragSeconds)
            return Error{"a drag may last at most " + numberWord(SimDesktopCommand::maxDragSeconds) +
                         " seconds (8 ms a step, and the pauses)"};
    }
    return command;
}

Result<SimDesktopCommand> parseScroll(Words rest) {
    SimDesktopCommand command{.kind = Kind::scroll};
    auto parts = split(rest, {});
    if (parts.positional.empty() || parts.positional.size() > 2)
        return wrong("usage: sim scroll DY [DX] [--trackpad]");
    if (auto read = parts.positional.size() == 2
                        ? numbers(parts.positional, {&command.dy, &command.dx})
                        : numbers(parts.positional, {&command.dy});
        !read)
        return read.error();
    if (std::abs(command.dy) > 10000 || std::abs(command.dx) > 10000)
        return wrong("a scroll moves at most 10000 lines");
    for (const auto& option : parts.options) {
        if (option != "--trackpad")
            return Error{"unknown option " + option};
        command.trackpad = true;
    }
    return command;
}

Result<SimDesktopCommand> parsePasteboard(Words words) {
    if (words.empty() || (words.size() == 1 && words[0] == "show"))
        return SimDesktopCommand{.kind = Kind::showPasteboard};
    const auto usage = [] { return wrong("usage: sim pasteboard [show | set [--text T] [--type TYPE FILE]...]"); };
    if (words[0] != "set")
        return usage();
    SimDesktopCommand command{.kind = Kind::setPasteboard};
    for (std::size_t i = 1; i < words.size();) {
        if (words[i] == "--text" && i + 1 < words.size()) {
            command.pasteboard.push_back({.type = "public.utf8-plain-text", .text = words[i + 1], .file = {}});
            i += 2;
        } else if (words[i] == "--type" && i + 2 < words.size() && !words[i + 1].empty() &&
                   !words[i + 2].empty()) {
            command.pasteboard.push_back({.type = words[i + 1], .text = {}, .file = words[i + 2]});
            i += 3;
        } else {
            return usage();
        }
    }
    return command;
}

}  // namespace

bool SimDesktopCommand::isNoun(std::string_view word) {
    for (std::string_view noun : {"display", "app", "dock", "window", "menu", "menubar", "pointer", "click", "drag",
                                  "scroll", "key", "press", "type", "text", "tap-timeout", "pasteboard"})
        if (word == noun)
            return true;
    return false;
}

Result<SimDesktopCommand> SimDesktopCommand::parse(std::span<const std::string> words) {
    if (words.empty() || !isNoun(words[0]))
        return Error{"usage: sim " + std::string(usages[0]) + " | ..."};
    const std::string& noun = words[0];
    const auto rest = words.subspan(1);
    if (noun == "display")
        return parseDisplay(rest);
    if (noun == "app")
        return parseApp(rest);
    if (noun == "dock")
        return parseDock(rest);
    if (noun == "window")
        return parseWindow(rest);
    if (noun == "menu")
        return parseMenu(rest);
    if (noun == "menubar")
        return parseMenuBar(rest);
    if (noun == "pointer") {
        if (rest.empty())
            return SimDesktopCommand{.kind = Kind::showPointer};
        return parsePointerLike(Kind::movePointer, rest, "pointer [X Y]");
    }
    if (noun == "click")
        return parsePointerLike(Kind::click, rest, "click X Y [--right]");
    if (noun == "drag")
        return parsePointerLike(Kind::drag, rest, "drag X1 Y1 X2 Y2 [X Y]... [--steps N] [--pause S]");
    if (noun == "scroll")
        return parseScroll(rest);
    if (noun == "key" || noun == "press") {
        if (rest.size() != 1 || rest[0].empty())
            return wrong("usage: sim key COMBINATION, e.g. Ctrl+Alt+K or Meta+V");
        return SimDesktopCommand{.kind = Kind::key, .name = rest[0]};
    }
    if (noun == "type") {
        if (rest.size() != 1)
            return wrong("usage: sim type TEXT");
        if (rest[0].size() > 4096)
            return wrong("sim type takes at most 4096 bytes at once");
        return SimDesktopCommand{.kind = Kind::type, .name = rest[0]};
    }
    if (noun == "pasteboard")
        return parsePasteboard(rest);
    if (!rest.empty())
        return Error{"usage: sim " + noun};
    return SimDesktopCommand{.kind = noun == "text" ? Kind::showText : Kind::tapTimeout};
}

std::span<const std::string_view> simDesktopUsage() {
    return usages;
}

}  // namespace quorvane::platform::sim
