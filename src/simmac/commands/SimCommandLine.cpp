#include "simmac/commands/SimCommandLine.hpp"

#include <filesystem>

#include "cli/CommandDefinition.hpp"
#include "platform/ColorSampler.hpp"
#include "simmac/SimCameras.hpp"
#include "simmac/SimDesktopCommand.hpp"

namespace quorvane::simmac {

namespace {

using cli::CommandDefinition;
using cli::CommandLine;
using cli::usage;
using Action = CommandLine::Action;
using Arguments = std::vector<std::string>;

platform::Result<CommandLine> parseAdmin(const CommandDefinition& definition,
                                         const Arguments& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "approve" || arguments[0] == "cancel"))
        return CommandLine{.action = Action::simAdmin, .adminApproves = arguments[0] == "approve"};
    return usage(definition);
}

platform::Result<CommandLine> parseGrant(const CommandDefinition& definition,
                                         const Arguments& arguments) {
    if (arguments.size() == 1 &&
        (arguments[0] == "accessibility" || arguments[0] == "screenRecording"))
        return CommandLine{.action = Action::simGrant,
                           .on = definition.name == "sim grant",
                           .permission = arguments[0]};
    return usage(definition);
}

// "sim hid", "sim hid set NAME N", "sim hid fail port|open|set|none".
platform::Result<CommandLine> parseHid(const CommandDefinition& definition,
                                       const Arguments& arguments) {
    const bool show = arguments.empty();
    const bool set = arguments.size() == 3 && arguments[0] == "set" && !arguments[1].empty() &&
                     arguments[1].size() <= 64 && arguments[2].size() <= 9 &&
                     arguments[2].find_first_not_of("-0123456789") == std::string::npos &&
                     arguments[2].find_first_of("0123456789") != std::string::npos &&
                     arguments[2].find('-', 1) == std::string::npos;
    const bool fail = arguments.size() == 2 && arguments[0] == "fail" &&
                      (arguments[1] == "port" || arguments[1] == "open" || arguments[1] == "set" ||
                       arguments[1] == "none");
    if (show || set || fail)
        return CommandLine{.action = Action::simHid, .simWords = arguments};
    return usage(definition);
}

// "sim volume", "sim volume output|input N" with N 0–100.
platform::Result<CommandLine> parseVolume(const CommandDefinition& definition,
                                          const Arguments& arguments) {
    if (arguments.empty())
        return CommandLine{.action = Action::simVolume};
    const bool set = arguments.size() == 2 &&
                     (arguments[0] == "output" || arguments[0] == "input") &&
                     !arguments[1].empty() && arguments[1].size() <= 3 &&
                     arguments[1].find_first_not_of("0123456789") == std::string::npos &&
                     std::stoi(arguments[1]) <= 100;
    if (set)
        return CommandLine{.action = Action::simVolume, .simWords = arguments};
    return usage(definition);
}

// "sim bluetooth", "sim bluetooth on|off|none".
platform::Result<CommandLine> parseBluetooth(const CommandDefinition& definition,
                                             const Arguments& arguments) {
    if (arguments.empty() ||
        (arguments.size() == 1 &&
         (arguments[0] == "on" || arguments[0] == "off" || arguments[0] == "none")))
        return CommandLine{.action = Action::simBluetooth, .simWords = arguments};
    return usage(definition);
}

// "sim browser", "sim browser install|remove NAME".
platform::Result<CommandLine> parseBrowser(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    if (arguments.empty() ||
        (arguments.size() == 2 && (arguments[0] == "install" || arguments[0] == "remove") &&
         !arguments[1].empty()))
        return CommandLine{.action = Action::simBrowser, .simWords = arguments};
    return usage(definition);
}

// "sim color", "sim color #rrggbb|cancel".
platform::Result<CommandLine> parseColor(const CommandDefinition& definition,
                                         const Arguments& arguments) {
    if (arguments.empty() ||
        (arguments.size() == 1 &&
         (arguments[0] == "cancel" || platform::parseHexColor(arguments[0]))))
        return CommandLine{.action = Action::simColor, .simWords = arguments};
    return usage(definition);
}

// "sim power", "sim power --json".
platform::Result<CommandLine> parsePower(const CommandDefinition& definition,
                                         const Arguments& arguments) {
    if (arguments.empty() || (arguments.size() == 1 && arguments[0] == "--json"))
        return CommandLine{.action = Action::simPower, .simWords = arguments};
    return usage(definition);
}

platform::Result<CommandLine> parsePost(const CommandDefinition& definition,
                                        const Arguments& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::simPost, .eventName = arguments[0]};
    return usage(definition);
}

platform::Result<CommandLine> parsePress(const CommandDefinition& definition,
                                         const Arguments& arguments) {
    if (arguments.size() == 1)
        return CommandLine{.action = Action::simPress, .eventName = arguments[0]};
    return usage(definition);
}

std::string absolute(const std::string& path) {
    if (path.empty())
        return path;
    const std::filesystem::path given(path);
    return (given.is_absolute() ? given : std::filesystem::current_path() / given)
        .lexically_normal()
        .string();
}

platform::Result<CommandLine> parseDesktopPicture(const CommandDefinition& definition,
                                                  const Arguments& arguments) {
    if (arguments.empty())
        return CommandLine{.action = Action::simDesktopPicture};
    if (arguments.size() != 1 || arguments[0].empty() || arguments[0].starts_with("--"))
        return usage(definition);
    return CommandLine{.action = Action::simDesktopPicture, .paths = {absolute(arguments[0])}};
}

// The picture the simulated screenshot tool "captures" next, or a cancel.
platform::Result<CommandLine> parseCapture(const CommandDefinition& definition,
                                           const Arguments& arguments) {
    if (arguments.size() != 1 || arguments[0].empty())
        return usage(definition);
    if (arguments[0] == "--cancel")
        return CommandLine{.action = Action::simCapture};
    if (arguments[0].starts_with("--"))
        return usage(definition);
    return CommandLine{.action = Action::simCapture, .paths = {absolute(arguments[0])}};
}

// The simulated desktop's commands, checked whole here and carried out by
// the running Quorvane.
platform::Result<CommandLine> parseDesktopCommand(const CommandDefinition& definition,
                                                  const Arguments& arguments) {
    std::vector<std::string> words{std::string(definition.name.substr(4))};
    words.insert(words.end(), arguments.begin(), arguments.end());
    // The running Quorvane reads the files: from its folder, not ours.
    if (words[0] == "pasteboard") {
        for (std::size_t i = 1; i + 2 < words.size(); ++i) {
            if (words[i] == "--type") {
                words[i + 2] = absolute(words[i + 2]);
                i += 2;
            } else if (words[i] == "--text") {
                ++i;
            }
        }
    }
    auto checked = platform::sim::SimDesktopCommand::parse(words);
    if (!checked) {
        std::string message = checked.error().message;
        if (message.starts_with("usage: sim"))
            message.insert(7, "quorvane ");
        return platform::Error{message};
    }
    return CommandLine{.action = Action::simDesktop, .simWords = words};
}

// "sim camera", checked whole here and carried out by the running Quorvane.
platform::Result<CommandLine> parseCamera(const CommandDefinition&, const Arguments& arguments) {
    if (auto checked = platform::sim::SimCameras::check(arguments); !checked)
        return checked.error();
    return CommandLine{.action = Action::simCamera, .simWords = arguments};
}

constexpr CommandDefinition definitions[] = {
    {"sim admin", "approve|cancel", "how the simulated Mac answers administrator prompts",
     parseAdmin, {}, "quorvane sim admin cancel"},
    {"sim grant", "accessibility|screenRecording", "give the simulated Mac's privacy permission",
     parseGrant, {}, "quorvane sim grant accessibility"},
    {"sim revoke", "accessibility|screenRecording",
     "take the simulated Mac's privacy permission away", parseGrant, {},
     "quorvane sim revoke screenRecording"},
    {"sim hid", "[set NAME N | fail port|open|set|none]",
     "the simulated Mac's HID parameters (HIDFKeyMode: 1 standard\nF keys, 0 media keys), or make a "
     "step of setting them fail",
     parseHid, {}, "quorvane sim hid set HIDFKeyMode 1"},
    {"sim volume", "[output|input N]",
     "the simulated Mac's sound volumes (0 to 100), or set one", parseVolume, {},
     "quorvane sim volume input 35"},
    {"sim bluetooth", "[on|off|none]",
     "the simulated Mac's Bluetooth controller, or set it\n(none: a Mac without one)",
     parseBluetooth, {}, "quorvane sim bluetooth none"},
    {"sim browser", "[install|remove NAME]",
     "the simulated Mac's web browsers and the default one,\nor install or remove one (Chrome, Safari, Firefox,\n"
     "Brave, Edge, Opera, Vivaldi, Arc, Onion)",
     parseBrowser, {}, "quorvane sim browser install Firefox"},
    {"sim power", "[--json]",
     "the simulated Mac's power state: the repeating schedule,\nlow power mode, keep-awake "
     "assertions, pending\nshutdowns and what the pending ones did",
     parsePower, {}, "quorvane sim power --json"},
    {"sim color", "[#rrggbb|cancel]",
     "what the simulated Mac's colour sampler picks next, or\nthat the user cancels it",
     parseColor, {}, "quorvane sim color #12ab34"},
    {"sim post", "NOTIFICATION",
     "post a system event to the running Quorvane, e.g.\ncom.apple.screenIsLocked or\n"
     "NSWorkspaceWillSleepNotification",
     parsePost, {}, "quorvane sim post com.apple.screenIsLocked"},
    {"sim press", "COMBINATION",
     "press a shortcut on the simulated Mac's keyboard, e.g.\nCtrl+Alt+K (in an X11 session, "
     "press the keys instead)",
     parsePress, {}, "quorvane sim press Ctrl+Alt+K"},
    {"sim key", "COMBINATION",
     "the same, e.g. Meta+V; a combination no shortcut has\nis typed into the frontmost "
     "simulated application",
     parsePress, {}, "quorvane sim key Meta+V"},
    {"sim display",
     "[add NAME WxH [--edr-potential V] | move ID X Y | set ID edr|edrReference|edrPotential V | remove ID]",
     "the simulated displays", parseDesktopCommand, {},
     "quorvane sim display add Studio 2560x1440"},
    {"sim desktop-picture", "[PATH]", "the simulated Mac's desktop picture, or set it",
     parseDesktopPicture, {}, "quorvane sim desktop-picture ~/Pictures/beach.png"},
    {"sim app", "[launch NAME [--bundle ID] | activate|hide|hang|quit PID | enhanced-ui PID on|off]",
     "the simulated applications", parseDesktopCommand, {},
     "quorvane sim app activate 200"},
    {"sim dock", "autohide on|off", "hide the simulated Dock, leaving a 4-point strip",
     parseDesktopCommand, {}, "quorvane sim dock autohide on"},
    {"sim window", "[add PID TITLE X Y W H [--fixed-size] [--no-minimize] | close N]",
     "the simulated windows; X Y from the top-left of the\nprimary screen, y down",
     parseDesktopCommand, {}, "quorvane sim window add 200 Notes 100 100 600 400"},
    {"sim menu", "[add PID MENU/ITEM COMBINATION]", "the simulated applications' menus",
     parseDesktopCommand, {}, "quorvane sim menu add 200 Format/Bold Meta+B"},
    {"sim menubar", "[add NAME WIDTH | remove NAME | drag-separator INDEX]",
     "the simulated menu bar's status items, right to left;\nadd or remove another application's, or Cmd-drag the\nseparator to a place (0 is the rightmost)",
     parseDesktopCommand, {}, "quorvane sim menubar drag-separator 2"},
    {"sim pointer", "[X Y]", "where the simulated pointer is, or move it", parseDesktopCommand,
     {}, "quorvane sim pointer 720 450"},
    {"sim click", "X Y [--right]", "click on the simulated desktop", parseDesktopCommand, {},
     "quorvane sim click 624 860"},
    {"sim drag", "X1 Y1 X2 Y2 [X Y]... [--steps N] [--pause S]",
     "drag with the left button through the points, pausing\nS seconds at each after the first "
     "(a title bar moves\nits window)",
     parseDesktopCommand, {}, "quorvane sim drag 400 110 800 130 --steps 10 --pause 0.3"},
    {"sim scroll", "DY [DX] [--trackpad]", "scroll under the pointer, in lines",
     parseDesktopCommand, {}, "quorvane sim scroll -3"},
    {"sim type", "TEXT", "type into the frontmost simulated application", parseDesktopCommand,
     {}, "quorvane sim type 'hello world'"},
    {"sim text", "", "what was typed into the frontmost simulated application",
     parseDesktopCommand, {}, "quorvane sim text"},
    {"sim pasteboard", "[show | set [--text T] [--type TYPE FILE]...]",
     "the simulated pasteboard, or set its representations\n(types by their Mac names, e.g. public.html)",
     parseDesktopCommand, {}, "quorvane sim pasteboard set --type public.html page.html"},
    {"sim capture", "FILE|--cancel",
     "what the simulated screenshot tool captures next: the\npicture FILE, or a cancelled selection",
     parseCapture, {}, "quorvane sim capture lines.png"},
    {"sim camera",
     "[add NAME [WxH]... | remove NAME | access notDetermined|restricted|denied|authorized | answer allow|deny]",
     "the simulated Mac's cameras, the access this program has\nand the running session; connect or disconnect a camera,\nset the access, or answer the question of access",
     parseCamera, {}, "quorvane sim camera access denied"},
    {"sim tap-timeout", "", "the system disables every event tap, as on a timeout",
     parseDesktopCommand, {}, "quorvane sim tap-timeout"},
};

}  // namespace

std::span<const cli::CommandDefinition> simCommandDefinitions() {
    return definitions;
}

void addSimCommands() {
    cli::addCommandFamily(simCommandDefinitions());
}

}  // namespace quorvane::simmac
