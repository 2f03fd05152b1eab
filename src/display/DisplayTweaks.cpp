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
    factory.add("ArrangeDisplaysTask", core::oneShotMaker<ArrangeDisplaysTask>(services));
    factory.add("MirrorDisplayTask", core::mToggleMaker<MirrorDisplayTask>(services));
    factory.add("BlackOutTask", core::mToggleMaker<BlackOutTask>(services));
    factory.add("DimTask", core::mToggleMaker<DimTask>(services));
    factory.add("IncreaseBrightnessTask", core::mToggleMaker<IncreaseBrightnessTask>(services));
    factory.add("NotchTask", core::mToggleMaker<NotchTask>(services));
    factory.add("HideNotchTask", core::mToggleMaker<HideNotchTask>(services));
    factory.add("ConfettiTask", core::oneShotMaker<ConfettiTask>(services));
    factory.add("FireworkTask", core::mToggleMaker<FireworkTask>(services));
    factory.add("RainTask", core::mToggleMaker<RainTask>(services));
    factory.add("SnowTask", core::mToggleMaker<SnowTask>(services));
    factory.add("CameraMirrorTask", core::mToggleMaker<CameraMirrorTask>(services));
    factory.add("HideMenuBarItemsTask", core::pToggleMaker<HideMenuBarItemsTask>(services));
}

}  // namespace quorvane::display
