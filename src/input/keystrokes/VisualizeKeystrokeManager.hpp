#pragma once

#include <optional>

#include "core/Debouncer.hpp"
#include "core/Setting.hpp"
#include "input/keystrokes/KeyCaps.hpp"
#include "input/keystrokes/KeyboardTweakServices.hpp"
#include "input/monitoring/EventMonitor.hpp"

namespace quorvane::input {

// Shows the keys being pressed as caps in a strip across the screen under
// the pointer: pressed for 0.2 s after each event, gone 1 s after the last.
// Main thread.
class VisualizeKeystrokeManager {
  public:
    struct Bundle {
        KeyCaps keys{};
        bool isPressed = false;
    };
    static constexpr core::BoolSetting showsModifierKeysOnlySetting{
        "VisualizeKeystrokeTask.Manager.showsModifierKeysOnly", false};
    static constexpr auto releaseDelay = std::chrono::milliseconds(200);
    static constexpr auto dismissDelay = std::chrono::milliseconds(1000);
    static constexpr double stripHeight = 200;
    static constexpr double stripLift = 120;

    explicit VisualizeKeystrokeManager(KeyboardTweakServices& services, std::string owner);
    ~VisualizeKeystrokeManager();
    VisualizeKeystrokeManager(const VisualizeKeystrokeManager&) = delete;
    VisualizeKeystrokeManager& operator=(const VisualizeKeystrokeManager&) = delete;

    // Watches the keys typed anywhere and in our own windows; the monitor's
    // start and stop are journaled (the event types, never the keys).
    void start();
    // No monitors, no pending delay, no strip.
    void stop();
    void handle(const platform::InputEvent& event);

    const Bundle& bundle() const { return bundle_; }
    bool isShown() const { return !description_.hidden; }
    const platform::Rect& frame() const { return frame_; }
    bool showsModifierKeysOnly() const;
    void setShowsModifierKeysOnly(bool on);

  private:
    // No caps, no pending delay, the strip ordered out.
    void clear();
    void present();
    void place(platform::Point pointer);

    KeyboardTweakServices& services_;
    std::string owner_;
    Bundle bundle_;
    KeyCaps scratch_;
    core::Debouncer animateDebouncer_;
    core::Debouncer dismissDebouncer_;
    EventMonitor monitor_;
    std::optional<platform::Overlays::Id> window_;
    platform::OverlayDescription description_;
    platform::Rect frame_{};
    platform::Rect screenFrame_{};
    bool onlyScreen_ = false;  // the strip's screen was the only one when placed
    mutable std::optional<bool> modifiersOnly_;
};

}  // namespace quorvane::input
