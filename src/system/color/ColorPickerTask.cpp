#include "system/color/ColorPickerTask.hpp"

#include "platform/PasteboardJournal.hpp"

namespace quorvane::system {

core::RunOutcome ColorPickerTask::run() {
    sampler_.sample([this](std::optional<platform::SampledColor> color) {
        if (!color)
            return;
        const platform::PasteboardContents contents{
            {platform::pasteboardType::string, platform::hexText(*color)}};
        services_.pasteboard.write(contents);
        platform::journalPasteboardWrite(services_.journal, id(), contents);
    });
    return core::RunOutcome::done();
}

}  // namespace quorvane::system
