#include "core/shortcuts/ShortcutService.hpp"

#include "core/CanToggle.hpp"

namespace quorvane::core {

ShortcutService::ShortcutService(const Catalogue& catalogue, platform::Hotkeys& hotkeys)
    : catalogue_(catalogue), hotkeys_(hotkeys) {
    hotkeys_.observeChanges([this](const std::string&) { reload(); });
    scriptsChanged_ = catalogue_.scripts().changed.subscribe([this] {
        registerScriptTweaks();
        reload();
    });
}

void ShortcutService::registerHandler(const std::string& tweakId) {
    hotkeys_.onKeyDown(tweakId, [this, tweakId] { pressed(tweakId); });
}

void ShortcutService::registerAll() {
    for (const auto& tweak : catalogue_.builtinTweaks())
        registerHandler(tweak->id());
    registerScriptTweaks();
}

void ShortcutService::registerScriptTweaks() {
    for (const auto& script : catalogue_.scripts().scriptTweaks())
        if (hasHandledScriptTweaks_.insert(script->id()).second)
            registerHandler(script->id());
}

void ShortcutService::reload() {
    std::vector<TaskShortcut> bound;
    for (auto& tweak : catalogue_.allTweaks())
        if (auto combination = hotkeys_.combination(tweak->id()))
            bound.push_back({tweak, *combination});
    taskShortcuts.set(std::move(bound));
}

void ShortcutService::removeAll() {
    // Ids first: each clear notifies observers that reload the list.
    std::vector<std::string> ids;
    for (const auto& bound : taskShortcuts.get())
        ids.push_back(bound.task->id());
    for (const auto& id : ids)
        hotkeys_.clear(id);
    reload();
}

void ShortcutService::pressed(const std::string& tweakId) {
    // Found again by id: an edited script is used as it is now.
    auto tweak = catalogue_.find(tweakId);
    if (!tweak)
        return;
    // A refusal is told by the tweak's own alert, or by its switch staying
    // as it was: there is no list here to show it.
    if (auto* toggle = asToggle(*tweak))
        (void)switchAndApply(*tweak, !toggle->isOn(), /*applyUnchanged=*/true);
    else
        (void)tweak->run();
}

}  // namespace quorvane::core
