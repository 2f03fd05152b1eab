#include "control/ControlCommandDefinition.hpp"

namespace quorvane::app {

namespace {

using namespace std::chrono_literals;

constexpr ControlCommandDefinition definitions[] = {
    {"ping", 2s, true, "", "is an instance there? {}"},
    {"reopen", 5s, true, "", "a second launch: show the main window {}"},
    {"list", 5s, true, "", "every tweak with its live state {}"},
    {"set", 10s, false, "", R"(switch a toggle as its switch does {"id","on"})"},
    {"runNamed", 10s, false, "", R"("Run Tweak" by name, else by id {"name"})"},
    {"toggleNamed", 10s, false, "", R"("Toggle Tweak" by name, else by id {"name","on"})"},
    {"finderAction", 10s, true, "file actions need the running Quorvane",
     R"(a file action {"actionId","paths"})"},
    {"post", 10s, true, "this Quorvane observes the real system's events, not simulated ones",
     R"(a simulated system event {"name"})"},
    {"press", 10s, true, "this Quorvane takes shortcuts from the real keyboard: press the keys",
     R"(a combination on the simulated keyboard {"combination"})"},
    {"sim", 10s, true, "this Quorvane acts on the real desktop: use its windows and keys",
     R"(a command to the simulated desktop {"words"})"},
    {"simCamera", 5s, true, "this Quorvane uses the real cameras",
     R"(a command to the simulated cameras {"words"})"},
    {"desktop", 5s, true, "", "what the desktop's ports see {}"},
    {"desktopWatch", 65s, true, "", R"(what a global monitor receives for a while {"seconds"})"},
    {"displays", 5s, true, "", "the displays as the desktop's adapter sees them {}"},
    {"overlays", 5s, true, "", "the overlay windows shown now {}"},
    {"menuShortcuts", 10s, true, "", "the menu shortcuts of the application in front {}"},
    {"restore", 120s, false, "",
     R"(put back what tweaks changed {"list","ids","tweak","since","all","dryRun","force"})"},
};

}  // namespace

std::span<const ControlCommandDefinition> controlCommandDefinitions() {
    return definitions;
}

const ControlCommandDefinition* findControlCommand(std::string_view name) {
    for (const auto& definition : definitions)
        if (definition.name == name)
            return &definition;
    return nullptr;
}

}  // namespace quorvane::app
