#pragma once

#include <QSoundEffect>
#include <memory>
#include <optional>

#include "platform/Log.hpp"
#include "platform/Sound.hpp"

namespace quorvane::platform::qt {

// Plays the WAV sounds built into the program (":/sounds/<name>.wav").
// Keeps the last player, as a new sound replaces the one still playing.
class QtSound final : public Sound {
  public:
    explicit QtSound(Log& log) : log_(log) {}

    bool play(std::string_view resourceName) override;

    // The built-in sound of that name (":/sounds/<name>.wav"), if there is one.
    static std::optional<QString> resourcePath(std::string_view resourceName);

  private:
    Log& log_;
    std::unique_ptr<QSoundEffect> player_;
};

}  // namespace quorvane::platform::qt
