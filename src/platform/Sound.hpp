#pragma once

#include <string_view>

namespace quorvane::platform {

// Short sounds shipped with the application, by resource name ("toggleOn").
class Sound {
  public:
    virtual ~Sound() = default;
    // Starts playing and returns at once; false when there is no such sound.
    virtual bool play(std::string_view resourceName) = 0;
};

}  // namespace quorvane::platform
