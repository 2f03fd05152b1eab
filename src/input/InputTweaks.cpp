#include "input/InputTweaks.hpp"

#include <memory>

#include "input/keyboard/EnableStandardFKeyTask.hpp"
#include "input/keysound/MechanicalKeyboardTask.hpp"
#include "input/keystrokes/VisualizeKeystrokeTask.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& services) {
    factory.add("VisualizeKeystrokeTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<VisualizeKeystrokeTask>(row.info, *field, services);
                });
    factory.add("MechanicalKeyboardTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    const auto* field = core::pStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<MechanicalKeyboardTask>(row.info, *field, services);
                });
    factory.add("EnableStandardFKeyTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    auto field = core::mStateField(row);
                    if (!field)
                        return nullptr;
                    return std::make_shared<EnableStandardFKeyTask>(row.info, field, services);
                });
    factory.add("ViewShortcutTask",
                [&services](const core::CatalogueRow& row) -> std::shared_ptr<core::Tweak> {
                    return std::make_shared<ViewShortcutTask>(row.info, services);
                });
}

}  // namespace quorvane::input
