#include "input/InputTweaks.hpp"

#include <memory>

#include "input/keystrokes/VisualizeKeystrokeTask.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& services) {
    factory.add("VisualizeKeystrokeTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<VisualizeKeystrokeTask>(row.info, *field, services);
                });
}

}  // namespace quorvane::input
