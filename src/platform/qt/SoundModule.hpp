#pragma once

#include <QLibrary>
#include <memory>

#include "platform/Log.hpp"
#include "platform/Sound.hpp"

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
    ~SoundModule() override;

    bool play(std::string_view resourceName) override;

  private:
    Sound* loaded();

    Log& log_;
    QLibrary library_;
    std::unique_ptr<Sound> sound_;
    bool tried_ = false;
};

}  // namespace quorvane::platform::qt
