#include "windows/WindowTweaks.hpp"

#include "windows/dock/PreviewDockWindowTask.hpp"
#include "windows/hiding/HidingTweaks.hpp"
#include "windows/highlight/HighlightActiveWindowTask.hpp"
#include "windows/shake/AeroShakeTask.hpp"
#include "windows/snap/SnapWindowsTask.hpp"

namespace quorvane::windows {

namespace {

template <class Toggle>
core::TweakFactory::Maker toggleMaker(WindowTweakServices& services) {
    return [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
        const auto* field = core::pStateField(row);
        if (!field)
            return nullptr;
        return std::make_shared<Toggle>(row.info, *field, services);
    };
}

template <class OneShot>
core::TweakFactory::Maker oneShotMaker(WindowTweakServices& services) {
    return [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
        return std::make_shared<OneShot>(row.info, services);
    };
}

}  // namespace

void addWindowTweaks(core::TweakFactory& factory, WindowTweakServices& services) {
    factory.add("SnapWindowsTask", toggleMaker<SnapWindowsTask>(services));
    factory.add("AeroShakeTask", toggleMaker<AeroShakeTask>(services));
    factory.add("FocusFrontmostAppTask", toggleMaker<FocusFrontmostAppTask>(services));
    factory.add("ClickToHideTask", toggleMaker<ClickToHideTask>(services));
    factory.add("HighlightActiveWindowTask", toggleMaker<HighlightActiveWindowTask>(services));
    factory.add("PreviewDockWindowTask", toggleMaker<PreviewDockWindowTask>(services));
    factory.add("HideOtherWindowsTask", oneShotMaker<HideOtherWindowsTask>(services));
    factory.add("HideAllAppsTask", oneShotMaker<HideAllAppsTask>(services));
    factory.add("ShowDesktopTask", oneShotMaker<ShowDesktopTask>(services));
}

}  // namespace quorvane::windows
