#include "display/ArrangeDisplaysTask.hpp"

namespace quorvane::display {

namespace {

constexpr core::EnumOption<ArrangePosition> positions[] = {
    {ArrangePosition::top, "Top", "Top"},
    {ArrangePosition::bottom, "Bottom", "Bottom"},
};

}  // namespace

const core::EnumSetting<ArrangePosition> ArrangeDisplaysTask::position{
    "ArrangeDisplaysTask.position", ArrangePosition::top, positions};

core::RunOutcome ArrangeDisplaysTask::run() {
    // Nothing to arrange, and no permission worth asking for.
    if (!services_.displays.secondaryDisplayId())
        return core::RunOutcome::refused(needsSecondDisplay);
    return services_.gate.runOneShot(
        [this] {
            services_.settings.change(id(), "arrangement", [this] {
                services_.displays.arrange(position.read(services_.defaults), id());
            });
        });
}

core::ConfigureForm ArrangeDisplaysTask::configureView() const {
    return {{{.controls = {core::FormControl::picker("Position", position)}}}};
}

}  // namespace quorvane::display
