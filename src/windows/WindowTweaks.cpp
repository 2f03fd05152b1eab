#include "windows/WindowTweaks.hpp"

#include "windows/dock/PreviewDockWindowTask.hpp"
#include "windows/hiding/HidingTweaks.hpp"
#include "windows/highlight/HighlightActiveWindowTask.hpp"
#include "windows/shake/AeroShakeTask.hpp"
#include "windows/snap/SnapWindowsTask.hpp"

namespace quorvane::windows {

void addWindowTweaks(core::TweakFactory& factory, WindowTweakServices& services) {
    factory.add("SnapWindowsTask", core::pToggleMaker<SnapWindowsTask>(services));
    factory.add("AeroShakeTask", core::pToggleMaker<AeroShakeTask>(services));
    factory.add("FocusFrontmostAppTask", core::pToggleMaker<FocusFrontmostAppTask>(services));
    factory.add("ClickToHideTask", core::pToggleMaker<ClickToHideTask>(services));
    factory.add("HighlightActiveWindowTask", core::pToggleMaker<HighlightActiveWindowTask>(services));
    factory.add("PreviewDockWindowTask", core::pToggleMaker<PreviewDockWindowTask>(services));
    factory.add("HideOtherWindowsTask", core::oneShotMaker<HideOtherWindowsTask>(services));
    factory.add("HideAllAppsTask", core::oneShotMaker<HideAllAppsTask>(services));
    factory.add("ShowDesktopTask", core::oneShotMaker<ShowDesktopTask>(services));
}

}  // namespace quorvane::windows
