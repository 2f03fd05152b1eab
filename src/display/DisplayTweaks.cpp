#include "display/DisplayTweaks.hpp"

#include "display/ArrangeDisplaysTask.hpp"
#include "display/BlackOutTask.hpp"
#include "display/DimTask.hpp"
#include "display/HideMenuBarItemsTask.hpp"
#include "display/HideNotchTask.hpp"
#include "display/IncreaseBrightnessTask.hpp"
#include "display/MirrorDisplayTask.hpp"
#include "display/NotchTask.hpp"
#include "display/camera/CameraMirrorTask.hpp"
#include "display/effects/ConfettiTask.hpp"
#include "display/effects/ScreenEffects.hpp"

namespace quorvane::display {

void addDisplayTweaks(core::TweakFactory& factory, DisplayServices& services) {
    factory.add("ArrangeDisplaysTask", core::oneShotMaker<ArrangeDisplaysTask>(services), {platform::Port::desktop});
    factory.add("MirrorDisplayTask", core::mToggleMaker<MirrorDisplayTask>(services), {platform::Port::desktop});
    factory.add("BlackOutTask", core::mToggleMaker<BlackOutTask>(services), {platform::Port::desktop, platform::Port::screen});
    factory.add("DimTask", core::mToggleMaker<DimTask>(services), {platform::Port::desktop, platform::Port::screen});
    factory.add("IncreaseBrightnessTask", core::mToggleMaker<IncreaseBrightnessTask>(services), {platform::Port::desktop});
    factory.add("NotchTask", core::mToggleMaker<NotchTask>(services), {platform::Port::screen});
    factory.add("HideNotchTask", core::mToggleMaker<HideNotchTask>(services), {platform::Port::desktopPicture});
    factory.add("ConfettiTask", core::oneShotMaker<ConfettiTask>(services), {platform::Port::screen});
    factory.add("FireworkTask", core::mToggleMaker<FireworkTask>(services), {platform::Port::screen});
    factory.add("RainTask", core::mToggleMaker<RainTask>(services), {platform::Port::screen});
    factory.add("SnowTask", core::mToggleMaker<SnowTask>(services), {platform::Port::screen});
    factory.add("CameraMirrorTask", core::mToggleMaker<CameraMirrorTask>(services), {platform::Port::cameras});
    factory.add("HideMenuBarItemsTask", core::pToggleMaker<HideMenuBarItemsTask>(services), {platform::Port::statusArea, platform::Port::desktop});
}

}  // namespace quorvane::display
