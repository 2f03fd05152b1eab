#include "input/keystrokes/VisualizeKeystrokeManager.hpp"

namespace quorvane::input {

VisualizeKeystrokeManager::VisualizeKeystrokeManager(KeyboardTweakServices& services,
                                                     std::string owner)
    : services_(services),
      owner_(std::move(owner)),
      animateDebouncer_(services.input.mainQueue, releaseDelay),
      dismissDebouncer_(services.input.mainQueue, dismissDelay),
      monitor_(services.input.monitors, services.input.journal, services.input.log, owner_,
               platform::eventMask::keystrokes,
               [this](const platform::InputEvent& event) { handle(event); },
               &services.input.localMonitors) {
    description_.owner = owner_;
    description_.level = platform::overlayLevel::display;
    description_.passesInput = true;
    description_.takesFocus = false;
    description_.content = platform::OverlayDescription::Content::keyCaps;
    description_.hidden = true;
    description_.keyCaps.reserve(KeyCaps::capacity);
}

VisualizeKeystrokeManager::~VisualizeKeystrokeManager() {
    stop();
    if (window_)
        services_.overlays.close(*window_);
}

void VisualizeKeystrokeManager::start() {
    stop();
    monitor_.start();
}

void VisualizeKeystrokeManager::stop() {
    monitor_.stop();
    clear();
}

bool VisualizeKeystrokeManager::showsModifierKeysOnly() const {
    if (!modifiersOnly_)
        modifiersOnly_ = showsModifierKeysOnlySetting.read(services_.defaults);
    return *modifiersOnly_;
}

void VisualizeKeystrokeManager::setShowsModifierKeysOnly(bool on) {
    showsModifierKeysOnlySetting.write(services_.defaults, on);
    modifiersOnly_ = on;
}

void VisualizeKeystrokeManager::handle(const platform::InputEvent& event) {
    capsOf(event, services_.layout, scratch_);
    if (showsModifierKeysOnly())
        scratch_.keepModifiers();
    if (scratch_.empty()) {
        // Letting go of the last modifier clears the strip at once.
        clear();
        return;
    }
    // On the screen under the pointer; under none, where it was.
    // (Never placed yet: on the first screen.) While the strip shows and
    // the pointer stays on its screen, the screens are not asked again:
    // the key path allocates nothing. With one screen there is nowhere
    // else to go, and the pointer is not asked either.
    if (!(isShown() && onlyScreen_)) {
        const auto pointer = services_.input.monitors.mouseLocation();
        if (!(isShown() && screenFrame_.contains(pointer)))
            place(pointer);
    }
    std::swap(bundle_.keys, scratch_);
    bundle_.isPressed = true;
    present();
    animateDebouncer_.call([this] {
        bundle_.isPressed = false;
        present();
    });
    dismissDebouncer_.call([this] { clear(); });
}

void VisualizeKeystrokeManager::place(platform::Point pointer) {
    const auto screens = services_.input.windows.screens.screens();
    const platform::Screen* under = nullptr;
    for (const auto& screen : screens)
        if (screen.frame.contains(pointer))
            under = &screen;
    if (!under && frame_.size.width <= 0 && !screens.empty())
        under = &screens.front();
    if (!under)
        return;
    onlyScreen_ = screens.size() == 1;
    screenFrame_ = under->frame;
    frame_ = {{under->frame.minX(), under->frame.minY() + stripLift},
              {under->frame.size.width, stripHeight}};
}

void VisualizeKeystrokeManager::present() {
    description_.frame = frame_;
    description_.hidden = false;
    description_.pressed = bundle_.isPressed;
    description_.keyCaps.resize(bundle_.keys.size());
    for (std::size_t i = 0; i < bundle_.keys.size(); ++i) {
        const auto& cap = bundle_.keys[i];
        auto& shown = description_.keyCaps[i];
        shown.title = cap.title;
        shown.subtitle = cap.subtitle;
        shown.alignment = cap.alignment;
        shown.widthScale = cap.widthScale;
    }
    if (window_)
        services_.overlays.update(*window_, description_);
    else
        window_ = services_.overlays.show(description_);
}

void VisualizeKeystrokeManager::clear() {
    animateDebouncer_.cancel();
    dismissDebouncer_.cancel();
    bundle_ = {};
    if (!isShown())
        return;
    description_.hidden = true;
    description_.keyCaps.clear();
    if (window_)
        services_.overlays.update(*window_, description_);
}

}  // namespace quorvane::input
