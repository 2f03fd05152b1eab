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
    factory.add("VisualizeKeystrokeTask", core::pToggleMaker<VisualizeKeystrokeTask>(keyboard), {platform::Port::desktop});
    factory.add("MechanicalKeyboardTask", core::pToggleMaker<MechanicalKeyboardTask>(keyboard), {platform::Port::desktop});
    factory.add("LockScreenTask", core::mToggleMaker<LockScreenTask>(keyboard), {platform::Port::desktop});
    factory.add("EnableStandardFKeyTask", core::mToggleMaker<EnableStandardFKeyTask>(keyboard), {platform::Port::hidSystem});
    factory.add("ViewShortcutTask", core::oneShotMaker<ViewShortcutTask>(keyboard), {platform::Port::desktop});
    factory.add("KeyboardSpellingLanguageTask", core::oneShotMaker<KeyboardSpellingLanguageTask>(keyboard), {platform::Port::spellChecker});
    factory.add("AutoClickTask", core::mToggleMaker<AutoClickTask>(mouse), {platform::Port::desktop});
    factory.add("MouseJigglerTask", core::mToggleMaker<MouseJigglerTask>(mouse), {platform::Port::desktop});
    factory.add("AutoScrollTask", core::oneShotMaker<AutoScrollTask>(mouse), {platform::Port::desktop});
    factory.add("ReverseScrollTask", core::pToggleMaker<ReverseScrollTask>(mouse), {platform::Port::desktop});
    factory.add("HideCursorTask", core::oneShotMaker<HideCursorTask>(mouse), {platform::Port::desktop});
    factory.add("VisualizeCursorTask", core::pToggleMaker<VisualizeCursorTask>(mouse), {platform::Port::desktop});
}

}  // namespace quorvane::input
