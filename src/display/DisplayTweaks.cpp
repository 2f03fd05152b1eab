#include "display/DisplayTweaks.hpp"

#include "display/ArrangeDisplaysTask.hpp"
#include "display/BlackOutTask.hpp"
#include "display/DimTask.hpp"
#include "display/HideNotchTask.hpp"
#include "display/IncreaseBrightnessTask.hpp"
#include "display/MirrorDisplayTask.hpp"
#include "display/NotchTask.hpp"

namespace quorvane::display {

namespace {

template <class Toggle>
core::TweakFactory::Maker toggleMaker(DisplayServices& services) {
    return [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
        auto field = core::mStateField(row);
        if (!field)
            return nullptr;
        return std::make_shared<Toggle>(row.info, field, services);
    };
}

}  // namespace

void addDisplayTweaks(core::TweakFactory& factory, DisplayServices& services) {
    factory.add("ArrangeDisplaysTask", [&services](const core::CatalogueRow& row) {
        return std::make_shared<ArrangeDisplaysTask>(row.info, services);
    });
    factory.add("MirrorDisplayTask", toggleMaker<MirrorDisplayTask>(services));
    factory.add("BlackOutTask", toggleMaker<BlackOutTask>(services));
    factory.add("DimTask", toggleMaker<DimTask>(services));
    factory.add("IncreaseBrightnessTask", toggleMaker<IncreaseBrightnessTask>(services));
    factory.add("NotchTask", toggleMaker<NotchTask>(services));
    factory.add("HideNotchTask", toggleMaker<HideNotchTask>(services));
}

}  // namespace quorvane::display
