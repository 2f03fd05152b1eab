#include "input/InputTweaks.hpp"

#include <memory>

#include "input/keyboard/EnableStandardFKeyTask.hpp"
#include "input/keysound/MechanicalKeyboardTask.hpp"
#include "input/keystrokes/VisualizeKeystrokeTask.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& services) {
    factory.add("VisualizeKeystrokeTask", core::pToggleMaker<VisualizeKeystrokeTask>(services));
    factory.add("MechanicalKeyboardTask", core::pToggleMaker<MechanicalKeyboardTask>(services));
    factory.add("EnableStandardFKeyTask", core::mToggleMaker<EnableStandardFKeyTask>(services));
    factory.add("ViewShortcutTask", core::oneShotMaker<ViewShortcutTask>(services));
}

}  // namespace quorvane::input
