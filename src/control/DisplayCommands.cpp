#include "platform/GeometryText.hpp"
#include "control/DisplayCommands.hpp"


#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::app {

using nlohmann::json;
using platform::numberText;

namespace {

json rect(const platform::Rect& frame) {
    return json::array({frame.origin.x, frame.origin.y, frame.size.width, frame.size.height});
}

}  // namespace

json describeDisplays(DesktopSession& desktop) {
    const auto screens = desktop.screens().screens();
    const auto infos = desktop.displays().displays();
    json list = json::array();
    for (const auto& screen : screens) {
        json item{{"id", screen.id},
                  {"name", screen.name},
                  {"frame", rect(platform::flipped(screen.frame, screens))}};
        for (const auto& info : infos)
            if (info.id == screen.id) {
                item["main"] = info.isMain;
                item["mirrorOf"] = info.mirrorOf ? json(*info.mirrorOf) : json();
                item["edrPotential"] = info.edrPotential;
                item["edr"] = info.edr;
                item["edrReference"] = info.edrReference;
            }
        list.push_back(std::move(item));
    }
    return {{"desktop", desktop.kind()}, {"displays", list}};
}

std::string displaysText(const json& displays) {
    std::string out = "Displays (" + displays.value("desktop", std::string()) +
                      " desktop; frames from the main display's top-left, y down):\n";
    for (const auto& item : displays.value("displays", json::array())) {
        const auto& frame = item.at("frame");
        out += "  " + item.value("id", std::string()) + "  " + item.value("name", std::string()) +
               "  " + numberText(frame.at(0).get<double>()) + " " +
               numberText(frame.at(1).get<double>()) + " " + numberText(frame.at(2).get<double>()) +
               " × " + numberText(frame.at(3).get<double>());
        if (item.value("main", false))
            out += "  main";
        if (item.contains("mirrorOf") && item.at("mirrorOf").is_string())
            out += "  mirrors " + item.at("mirrorOf").get<std::string>();
        if (item.value("edrPotential", 1.0) > 1.0)
            out += "  headroom " + numberText(item.value("edr", 1.0)) + " of " +
                   numberText(item.value("edrPotential", 1.0));
        out += "\n";
    }
    return out;
}

json describeOverlays(const platform::Overlays& overlays) {
    json list = json::array();
    for (const auto& [id, description] : overlays.shown()) {
        // Made and kept for later, not on screen.
        if (description.hidden)
            continue;
        list.push_back({{"id", id},
                        {"owner", description.owner},
                        {"content", platform::describe(description.content)},
                        {"frame", rect(description.frame)},
                        {"level", description.level},
                        {"passesInput", description.passesInput},
                        {"takesFocus", description.takesFocus},
                        {"background",
                         json::array({description.background.red, description.background.green,
                                      description.background.blue, description.background.alpha})},
                        {"text", platform::qt::describe(description)}});
    }
    return {{"translucency", overlays.translucencyWorks()}, {"overlays", list}};
}

std::string overlaysText(const json& overlays) {
    const auto list = overlays.value("overlays", json::array());
    std::string out = list.empty() ? "No overlay windows are shown.\n"
                                   : "Overlay windows (frames in screen space, y up):\n";
    for (const auto& item : list)
        out += "  " + std::to_string(item.value("id", 0)) + "  " +
               item.value("text", std::string()) + "\n";
    out += overlays.value("translucency", false)
               ? "See-through windows are composited.\n"
               : "No compositing manager: see-through windows would show opaque.\n";
    return out;
}

void bindDisplayCommands(ControlCommands& commands, DesktopSession& desktop,
                         const platform::Overlays& overlays, platform::sim::SimCameras* cameras) {
    if (cameras)
        commands.bind("simCamera", [cameras](const ControlRequest& request,
                                             const ControlCommands::Reply& reply) {
            auto words = request.texts("words", 16);
            if (!words)
                return reply(controlFailure(words.error().message));
            auto shown = cameras->perform(words.value());
            if (!shown)
                return reply(controlFailure(shown.error().message));
            reply(controlSuccess({{"output", shown.value()}}));
        });
    commands.bind("displays", [&desktop](const ControlRequest&, const ControlCommands::Reply& reply) {
        reply(controlSuccess({{"displays", describeDisplays(desktop)}}));
    });
    commands.bind("overlays",
                  [&overlays](const ControlRequest&, const ControlCommands::Reply& reply) {
                      reply(controlSuccess({{"overlays", describeOverlays(overlays)}}));
                  });
}

}  // namespace quorvane::app
