#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quorvane::platform {

// One picture of a video stream: rows of 32-bit pixels (0xffRRGGBB),
// `stride` pixels apart. The pixels may be an adapter's own buffer, which
// `owner` keeps alive for as long as any copy of the frame is held: passing
// a frame on copies no pixels.
struct VideoFrame {
    int width = 0;
    int height = 0;
    int stride = 0;
    const std::uint32_t* pixels = nullptr;
    std::shared_ptr<const void> owner{};

    bool isEmpty() const { return !pixels || width <= 0 || height <= 0; }
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                      static_cast<std::size_t>(x)];
    }
    // The same picture: frames are compared by their buffer, not pixel by pixel.
    bool operator==(const VideoFrame& other) const {
        return pixels == other.pixels && width == other.width && height == other.height &&
               stride == other.stride;
    }

    // A frame that owns its pixels.
    static VideoFrame owning(int width, int height, std::vector<std::uint32_t> pixels) {
        auto buffer = std::make_shared<const std::vector<std::uint32_t>>(std::move(pixels));
        return {.width = width, .height = height, .stride = width, .pixels = buffer->data(),
                .owner = buffer};
    }
};

}  // namespace quorvane::platform
