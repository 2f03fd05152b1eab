#pragma once

#include <string_view>

#include "core/Store.hpp"
#include "platform/Sound.hpp"

namespace quorvane::core {

// The click sounds, played only when the user turned sound effects on.
class SoundPlayer {
  public:
    SoundPlayer(Store& store, platform::Sound& sound) : store_(store), sound_(sound) {}

    void play(std::string_view resourceName) {
        if (store_.preference->playsSound())
            sound_.play(resourceName);
    }

  private:
    Store& store_;
    platform::Sound& sound_;
};

}  // namespace quorvane::core
