#include "triggers/finder/FinderContextMenuTask.hpp"

namespace quorvane::triggers {

void addFinderTweaks(core::TweakFactory& factory) {
    factory.add("FinderContextMenuTask", [](const core::CatalogueRow& row) {
        return std::make_shared<FinderContextMenuTask>(row.info);
    });
}

}  // namespace quorvane::triggers
