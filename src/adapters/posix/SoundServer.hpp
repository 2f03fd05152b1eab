#pragma once

#include "platform/Sound.hpp"
#include "adapters/posix/HelperServer.hpp"

namespace quorvane::platform::posix {

// The sounds of a helper process, served to the program (SoundHelper is
// the other side):
//
//   "play" name        = 1|0
//   "prepare" name     = 1|0
//   "click" name rate volume    (no answer)
//   "release"                   (no answer: clicks are no longer wanted)
//
// A helper with clicks prepared is never idle: the next key must click.
class SoundServer final : public HelperServer {
  public:
    SoundServer(Sound& sound, int socket) : sound_(sound), socket_(socket) {}

    bool serve(HelperRecord& record) override;
    bool idle() const override { return !clicksWanted_; }

  private:
    Sound& sound_;
    int socket_;
    bool clicksWanted_ = false;
};

}  // namespace quorvane::platform::posix
