#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::sim {

// One command to the simulated desktop ("quorvane sim window add ..."),
// checked whole before anything happens: the command line checks it before
// sending, the desktop again before carrying it out. Coordinates are in
// accessibility space (y down from the primary screen's top).
struct SimDesktopCommand {
    enum class Kind {
        showDisplays,
        addDisplay,
        moveDisplay,
        setDisplay,
        removeDisplay,
        showApps,
        launchApp,
        activateApp,
        hideApp,
        hangApp,
        quitApp,
        setEnhancedUserInterface,
        setDockAutohide,
        showWindows,
        addWindow,
        closeWindow,
        showMenus,
        addMenuItem,
        showMenuBar,
        addMenuBarItem,
        removeMenuBarItem,
        dragSeparator,
        showPointer,
        movePointer,
        click,
        drag,
        scroll,
        key,
        type,
        showText,
        tapTimeout,
        showPasteboard,
        setPasteboard,
    };
    // One representation for "pasteboard set": a text, or a file's bytes.
    struct PasteboardSource {
        std::string type;
        std::string text;
        std::string file;  // absolute once the command line has checked it
    };
    static constexpr std::size_t maxPasteboardBytes = 64u << 20;
    static constexpr int maxSteps = 1000;
    static constexpr std::size_t maxPoints = 25;
    // Played in time (8 ms an event), a drag must end well within the
    // command line's wait for an answer.
    static constexpr double maxDragSeconds = 8;
    static constexpr double maxPause = 10;

    Kind kind = Kind::showApps;
    std::string name{};  // display, application or window title; menu path; key combination; text;
                       // what a display command sets
    std::optional<std::string> bundle{};
    int pid = 0;
    int number = 0;  // window number, display id
    Rect rect{};       // window frame; a display's size
    Point from{};      // pointer, click, drag start; where a display goes
    Point to{};        // drag end
    std::vector<Point> path{};  // a drag's points, from first to last
    double pause = 0;  // seconds a drag waits at each point after the first
    int steps = 10;
    double dy = 0;
    double dx = 0;
    double value = 1;  // a display's headroom or the value set
    bool right = false;
    bool on = false;  // what a switch is set to
    bool trackpad = false;
    bool fixedSize = false;
    bool noMinimize = false;
    std::string shortcut{};  // menu item's combination
    std::vector<PasteboardSource> pasteboard{};

    // `words` follow "sim"; "press" is the old name of "key".
    static Result<SimDesktopCommand> parse(std::span<const std::string> words);
    // The nouns it takes, for the command line's table.
    static bool isNoun(std::string_view word);
};

// One line per form, for the help.
std::span<const std::string_view> simDesktopUsage();

}  // namespace quorvane::platform::sim
