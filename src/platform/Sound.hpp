#pragma once

#include <string_view>

namespace quorvane::platform {

// How one click differs from the last: its playback rate (pitch and
// length together) and its loudness, both around 1.
struct Variation {
    float rate = 1;
    float volume = 1;
};

// Short sounds shipped with the application, by resource name ("toggleOn").
class Sound {
  public:
    virtual ~Sound() = default;
    // Starts playing and returns at once; false when there is no such
    // sound (an adapter that plays elsewhere learns that on the first try).
    virtual bool play(std::string_view resourceName) = 0;

    // Readies a sound for clicks: loads what playing it needs and decodes
    // it once. It may take a while: never on the main thread. False when
    // the sound cannot be clicked (missing, another format, no module).
    virtual bool prepareClicks(std::string_view resourceName) {
        (void)resourceName;
        return false;
    }
    // One click of a prepared sound, mixed with those still sounding. Never
    // locks, allocates or waits; false when the sound is not prepared or
    // too many clicks wait to be mixed.
    virtual bool play(std::string_view resourceName, Variation variation) {
        (void)resourceName;
        (void)variation;
        return false;
    }
    // Clicks are no longer wanted: what readied them may be let go.
    virtual void releaseClicks() {}
};

}  // namespace quorvane::platform
