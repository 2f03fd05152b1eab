#pragma once

#include "platform/Log.hpp"
#include "platform/Sound.hpp"
#include "adapters/qt/LazyModule.hpp"

namespace quorvane::platform::qt {

// Plays sounds through the sound module ("libquorvane_sound.so" beside the
// program), loaded the first time a sound is asked for: the audio
// libraries then cost nothing to a user who keeps sound effects off. When
// the module cannot be loaded, that is logged once and nothing plays.
class SoundModule final : public Sound {
  public:
    static constexpr const char* factoryName = "quorvane_make_sound";

    // `path` names the module file; empty: beside the running program.
    SoundModule(Log& log, QString path = {});

    bool play(std::string_view resourceName) override;
    // Loads the module (never from the main thread: it takes a while).
    bool prepareClicks(std::string_view resourceName) override;
    // Only once the module is loaded: a click never loads it.
    bool play(std::string_view resourceName, Variation variation) override;

  private:
    LazyModule<Sound> module_;
};

}  // namespace quorvane::platform::qt
