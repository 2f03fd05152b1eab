#include "triggers/finder/FinderContextMenuTask.hpp"

namespace quorvane::triggers {

void addFinderContextMenuTask(core::TweakFactory& factory) {
    factory.add("FinderContextMenuTask", [](const core::CatalogueRow& row) {
        return std::make_shared<FinderContextMenuTask>(row.info);
    });
}

}  // namespace quorvane::triggers
