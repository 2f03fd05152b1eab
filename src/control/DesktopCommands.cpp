#include "platform/GeometryText.hpp"
#include "control/DesktopCommands.hpp"

#include "simmac/SimDragPlayer.hpp"

#include <memory>
#include <sstream>

#include "input/monitoring/EventMonitor.hpp"
#include "simmac/SimWindowServer.hpp"

namespace quorvane::app {

using namespace platform;
using nlohmann::json;

namespace {

json rect(const Rect& frame) {
    return json::array({frame.origin.x, frame.origin.y, frame.size.width, frame.size.height});
}

json application(const RunningApplication& app) {
    return {{"pid", app.pid},
            {"name", app.name},
            {"bundleIdentifier", app.bundleIdentifier ? json(*app.bundleIdentifier) : json()},
            {"active", app.isActive},
            {"hidden", app.isHidden}};
}

std::string rectText(const json& frame) {
    return numberText(frame.at(0).get<double>()) + " " + numberText(frame.at(1).get<double>()) +
           " " + numberText(frame.at(2).get<double>()) + " × " +
           numberText(frame.at(3).get<double>());
}

json eventJson(const InputEvent& event) {
    json described{{"type", input::describeMask(maskOf(event.type))},
                   {"location", json::array({event.location.x, event.location.y})},
                   {"flags", event.modifierFlags}};
    if (event.type == EventType::keyDown || event.type == EventType::keyUp ||
        event.type == EventType::flagsChanged) {
        described["keyCode"] = event.keyCode;
        described["characters"] = event.characters;
        described["repeat"] = event.isARepeat;
    }
    if (event.type == EventType::scrollWheel) {
        described["lines"] = json::array({event.scrollLinesX, event.scrollLinesY});
        described["phase"] = event.scrollPhase;
        described["momentum"] = event.momentumPhase;
    }
    return described;
}

}  // namespace

json describeDesktop(DesktopSession& desktop, const windows::AppService& apps) {
    const auto screens = desktop.screens().screens();
    json snapshot{{"desktop", desktop.kind()}};
    json screenList = json::array();
    for (const auto& screen : screens)
        screenList.push_back({{"id", screen.id},
                              {"name", screen.name},
                              {"frame", rect(flipped(screen.frame, screens))},
                              {"visibleFrame", rect(flipped(screen.visibleFrame, screens))}});
    snapshot["screens"] = screenList;
    json running = json::array();
    for (const auto& app : desktop.applications().list())
        running.push_back(application(app));
    snapshot["applications"] = running;
    const auto front = desktop.applications().frontmost();
    snapshot["frontmost"] = front ? application(*front) : json();
    snapshot["frontmostApp"] = apps.frontmostApp.get() ? application(*apps.frontmostApp.get()) : json();
    json windowList = json::array();
    for (const auto& window : desktop.windowList().list(windowListOption::onScreenWindows))
        windowList.push_back({{"number", window.number},
                              {"pid", window.ownerPID},
                              {"owner", window.ownerName},
                              {"layer", window.layer},
                              {"frame", rect(window.frame)},
                              {"title", window.name}});
    snapshot["windows"] = windowList;
    const Point pointer = flipped(desktop.monitors().mouseLocation(), screens);
    json under{{"location", json::array({pointer.x, pointer.y})}};
    auto& accessibility = desktop.accessibility();
    if (auto element = accessibility.elementAt(pointer)) {
        under["role"] = role(accessibility, *element).value_or("");
        under["title"] = attributeAs<std::string>(accessibility, *element, ax::title).value_or("");
        if (auto pid = accessibility.pid(*element))
            under["pid"] = *pid;
    }
    snapshot["pointer"] = under;
    // What the Dock shows, where the desktop has one to read.
    json dock = json::array();
    for (const auto& app : desktop.applications().list()) {
        if (app.bundleIdentifier != "com.apple.dock")
            continue;
        for (Element list : accessibility.attributeValues(accessibility.application(app.pid), ax::children))
            for (Element item : accessibility.attributeValues(list, ax::children))
                dock.push_back(
                    {{"title", attributeAs<std::string>(accessibility, item, ax::title).value_or("")},
                     {"subrole", attributeAs<std::string>(accessibility, item, ax::subrole).value_or("")},
                     {"url", attributeAs<Url>(accessibility, item, ax::url).value_or(Url{}).address}});
    }
    snapshot["dock"] = dock;
    return snapshot;
}

std::string desktopText(const json& snapshot) {
    std::string out = "Desktop: " + snapshot.value("desktop", std::string()) + "\nScreens:\n";
    for (const auto& screen : snapshot.at("screens"))
        out += "  " + screen.at("id").get<std::string>() + "  " +
               screen.at("name").get<std::string>() + "  " + rectText(screen.at("frame")) + "\n";
    out += "Applications:\n";
    for (const auto& app : snapshot.at("applications"))
        out += "  " + std::to_string(app.at("pid").get<int>()) + "  " +
               app.at("name").get<std::string>() +
               (app.at("active").get<bool>() ? "  (frontmost)" : "") +
               (app.at("hidden").get<bool>() ? "  (hidden)" : "") + "\n";
    const auto& other = snapshot.at("frontmostApp");
    out += "Last other application active: " +
           (other.is_object() ? other.at("name").get<std::string>() + " (pid " +
                                    std::to_string(other.at("pid").get<int>()) + ")"
                              : std::string("none")) +
           "\nWindows, front to back:\n";
    for (const auto& window : snapshot.at("windows"))
        out += "  " + std::to_string(window.at("number").get<int>()) + "  pid " +
               std::to_string(window.at("pid").get<int>()) + "  " +
               window.at("owner").get<std::string>() + "  layer " +
               std::to_string(window.at("layer").get<int>()) + "  " + rectText(window.at("frame")) +
               "  \"" + window.at("title").get<std::string>() + "\"\n";
    if (!snapshot.at("dock").empty()) {
        out += "Dock:\n";
        for (const auto& item : snapshot.at("dock"))
            out += "  " + item.at("title").get<std::string>() + "  " +
                   item.at("subrole").get<std::string>() + "  " +
                   item.at("url").get<std::string>() + "\n";
    }
    const auto& pointer = snapshot.at("pointer");
    out += "Pointer: " + numberText(pointer.at("location").at(0).get<double>()) + " " +
           numberText(pointer.at("location").at(1).get<double>());
    if (pointer.contains("role"))
        out += ", over " + pointer.at("role").get<std::string>() +
               (pointer.at("title").get<std::string>().empty()
                    ? std::string()
                    : " \"" + pointer.at("title").get<std::string>() + "\"") +
               (pointer.contains("pid") ? " of pid " + std::to_string(pointer.at("pid").get<int>())
                                        : std::string());
    return out + "\n";
}

std::string eventText(const json& event) {
    std::string out = event.at("type").get<std::string>() + " at " +
                      numberText(event.at("location").at(0).get<double>()) + " " +
                      numberText(event.at("location").at(1).get<double>());
    if (event.contains("keyCode"))
        out += ", key " + std::to_string(event.at("keyCode").get<int>()) +
               (event.at("characters").get<std::string>().empty()
                    ? std::string()
                    : " \"" + event.at("characters").get<std::string>() + "\"") +
               (event.at("repeat").get<bool>() ? " (repeat)" : "");
    if (event.at("flags").get<std::uint64_t>() != 0) {
        std::ostringstream flags;
        flags << std::hex << event.at("flags").get<std::uint64_t>();
        out += ", flags 0x" + flags.str();
    }
    if (event.contains("lines"))
        out += ", lines " + std::to_string(event.at("lines").at(1).get<long long>()) + " " +
               std::to_string(event.at("lines").at(0).get<long long>()) +
               (event.at("phase").get<int>() != 0 ? " (trackpad)" : "") +
               (event.at("momentum").get<int>() != 0 ? " (momentum)" : "");
    return out;
}

void bindDesktopCommands(ControlCommands& commands, DesktopSession& desktop,
                         const windows::AppService& apps, MainQueue& mainQueue,
                         platform::Journal& journal, platform::Log& log) {
    commands.bind("desktop", [&desktop, &apps](const ControlRequest&, const ControlCommands::Reply& reply) {
        reply(controlSuccess({{"snapshot", describeDesktop(desktop, apps)}}));
    });
    commands.bind("desktopWatch", [&desktop, &mainQueue, &journal, &log](
                                      const ControlRequest& request,
                                      const ControlCommands::Reply& reply) {
        auto seconds = request.whole("seconds", 1, 60);
        if (!seconds)
            return reply(controlFailure(seconds.error().message));
        struct Watch {
            json events = json::array();
            std::unique_ptr<input::EventMonitor> monitor;
        };
        auto watch = std::make_shared<Watch>();
        constexpr std::size_t maxEvents = 10000;
        watch->monitor = std::make_unique<input::EventMonitor>(
            desktop.monitors(), journal, log, "DesktopWatch", ~EventMask{0},
            [events = &watch->events](const InputEvent& event) {
                if (events->size() < maxEvents)
                    events->push_back(eventJson(event));
            });
        if (!watch->monitor->start())
            return reply(controlFailure("the input cannot be watched here; Quorvane's log says why"));
        mainQueue.after(std::chrono::seconds(seconds.value()), [watch, reply] {
            watch->monitor->stop();
            reply(controlSuccess({{"events", watch->events}}));
        });
    });
    if (auto* simulated = desktop.simulated())
        commands.bind("sim", [simulated, &mainQueue](const ControlRequest& request,
                                                     const ControlCommands::Reply& reply) {
            auto words = request.texts("words", 64);
            if (!words)
                return reply(controlFailure(words.error().message));
            auto command = sim::SimDesktopCommand::parse(words.value());
            if (!command)
                return reply(controlFailure(command.error().message));
            // Played in time, so that what watches the drag sees it happen.
            if (command.value().kind == sim::SimDesktopCommand::Kind::drag)
                return sim::playDrag(*simulated, mainQueue, command.value(),
                                     [reply] { reply(controlSuccess({{"output", ""}})); });
            auto shown = simulated->perform(command.value());
            if (!shown)
                return reply(controlFailure(shown.error().message));
            reply(controlSuccess({{"output", shown.value()}}));
        });
}

}  // namespace quorvane::app
