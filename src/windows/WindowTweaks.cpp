#include "windows/WindowTweaks.hpp"

#include "windows/dock/PreviewDockWindowTask.hpp"
#include "windows/hiding/HidingTweaks.hpp"
#include "windows/highlight/HighlightActiveWindowTask.hpp"
#include "windows/shake/AeroShakeTask.hpp"
#include "windows/snap/SnapWindowsTask.hpp"

namespace quorvane::windows {

void addWindowTweaks(core::TweakFactory& factory, WindowTweakServices& services) {
    factory.add("SnapWindowsTask", core::pToggleMaker<SnapWindowsTask>(services), {platform::Port::desktop});
    factory.add("AeroShakeTask", core::pToggleMaker<AeroShakeTask>(services), {platform::Port::desktop});
    factory.add("FocusFrontmostAppTask", core::pToggleMaker<FocusFrontmostAppTask>(services), {platform::Port::desktop});
    factory.add("ClickToHideTask", core::pToggleMaker<ClickToHideTask>(services), {platform::Port::desktop});
    factory.add("HighlightActiveWindowTask", core::pToggleMaker<HighlightActiveWindowTask>(services), {platform::Port::desktop});
    factory.add("PreviewDockWindowTask", core::pToggleMaker<PreviewDockWindowTask>(services), {platform::Port::desktop});
    factory.add("HideOtherWindowsTask", core::oneShotMaker<HideOtherWindowsTask>(services), {platform::Port::desktop});
    factory.add("HideAllAppsTask", core::oneShotMaker<HideAllAppsTask>(services), {platform::Port::desktop});
    factory.add("ShowDesktopTask", core::oneShotMaker<ShowDesktopTask>(services), {platform::Port::desktop});
}

}  // namespace quorvane::windows
