#include "input/InputTweaks.hpp"

#include <memory>

#include "input/keyboard/EnableStandardFKeyTask.hpp"
#include "input/keyboard/KeyboardSpellingLanguageTask.hpp"
#include "input/keyboard/LockScreenTask.hpp"
#include "input/keysound/MechanicalKeyboardTask.hpp"
#include "input/keystrokes/VisualizeKeystrokeTask.hpp"
#include "input/mouse/AutoClickTask.hpp"
#include "input/mouse/AutoScrollTask.hpp"
#include "input/mouse/HideCursorTask.hpp"
#include "input/mouse/MouseJigglerTask.hpp"
#include "input/mouse/ReverseScrollTask.hpp"
#include "input/mouse/VisualizeCursorTask.hpp"
#include "input/shortcuts/ViewShortcutTask.hpp"

namespace quorvane::input {

void addInputTweaks(core::TweakFactory& factory, KeyboardTweakServices& keyboard,
                    MouseTweakServices& mouse) {
    factory.add("VisualizeKeystrokeTask", core::pToggleMaker<VisualizeKeystrokeTask>(keyboard));
    factory.add("MechanicalKeyboardTask", core::pToggleMaker<MechanicalKeyboardTask>(keyboard));
    factory.add("LockScreenTask", core::mToggleMaker<LockScreenTask>(keyboard));
    factory.add("EnableStandardFKeyTask", core::mToggleMaker<EnableStandardFKeyTask>(keyboard));
    factory.add("ViewShortcutTask", core::oneShotMaker<ViewShortcutTask>(keyboard));
    factory.add("KeyboardSpellingLanguageTask", core::oneShotMaker<KeyboardSpellingLanguageTask>(keyboard));
    factory.add("AutoClickTask", core::mToggleMaker<AutoClickTask>(mouse));
    factory.add("MouseJigglerTask", core::mToggleMaker<MouseJigglerTask>(mouse));
    factory.add("AutoScrollTask", core::oneShotMaker<AutoScrollTask>(mouse));
    factory.add("ReverseScrollTask", core::pToggleMaker<ReverseScrollTask>(mouse));
    factory.add("HideCursorTask", core::oneShotMaker<HideCursorTask>(mouse));
    factory.add("VisualizeCursorTask", core::pToggleMaker<VisualizeCursorTask>(mouse));
}

}  // namespace quorvane::input
