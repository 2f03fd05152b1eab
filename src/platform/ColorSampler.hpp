#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// A colour picked off the screen, 8 bits a channel, in sRGB.
struct SampledColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const SampledColor&) const = default;
};

// "#12ab34": lower-case hexadecimal.
std::string hexText(SampledColor color);
// "#12ab34" or "#12AB34"; nothing for anything else.
std::optional<SampledColor> parseHexColor(std::string_view text);

// The system's colour sampler: the user points at a pixel of the screen
// and clicks it, or cancels. The answer comes later, on the main queue;
// the caller never waits. Main thread.
class ColorSampler {
  public:
    using Picked = std::function<void(std::optional<SampledColor> color)>;

    virtual ~ColorSampler() = default;
    // A sampler asked for while one is open is refused: `picked` gets nothing.
    virtual void sample(Picked picked) = 0;
};

}  // namespace quorvane::platform
