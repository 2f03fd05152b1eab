#include "triggers/finder/FinderContextMenuTask.hpp"

namespace quorvane::triggers {

void addFinderContextMenuTask(core::TweakFactory& factory, FileManagerSync* sync) {
    factory.add("FinderContextMenuTask", [sync](const core::CatalogueRow& row) {
        return std::make_shared<FinderContextMenuTask>(row.info, sync);
    }, {platform::Port::fileManager});
}

}  // namespace quorvane::triggers
