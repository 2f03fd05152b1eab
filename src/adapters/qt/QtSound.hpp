#pragma once

#include <QSoundEffect>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Log.hpp"
#include "platform/Sound.hpp"
#include "adapters/qt/ClickMixer.hpp"

namespace quorvane::platform::qt {

// Plays the WAV sounds built into the program (":/sounds/<name>.wav").
// Keeps the last player, as a new sound replaces the one still playing.
// One sound at a time may be prepared for clicks, which a `ClickMixer`
// plays (QUORVANE_AUDIO=silent: mixed and counted, never heard).
class QtSound final : public Sound {
  public:
    explicit QtSound(Log& log) : log_(log) {}

    bool play(std::string_view resourceName) override;
    bool prepareClicks(std::string_view resourceName) override;
    bool play(std::string_view resourceName, Variation variation) override;
    // The mixer of the prepared clicks, once there is one.
    ClickMixer* clickMixer() const { return clicks_.load(std::memory_order_acquire); }

    // The built-in sound of that name (":/sounds/<name>.wav"), if there is one.
    static std::optional<QString> resourcePath(std::string_view resourceName);

  private:
    Log& log_;
    std::unique_ptr<QSoundEffect> player_;
    std::mutex prepareMutex_;
    std::string clickName_;  // written once, before `clicks_`
    std::unique_ptr<ClickMixer> clickMixer_;
    std::atomic<ClickMixer*> clicks_{nullptr};
};

}  // namespace quorvane::platform::qt
