#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.hpp"

namespace quorvane::platform {

// A picture of a window, 32-bit ARGB, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels{};
    bool operator==(const Image&) const = default;
};

// One entry of the window server's list. A missing number reads 0, a
// missing flag false, a missing text "".
struct CGWindow {
    double alpha = 0;
    bool backingLocationVideoMemory = false;
    Rect frame{};  // accessibility space
    bool isOnScreen = false;
    int layer = 0;
    double memoryUsage = 0;
    std::string name{};
    int number = 0;
    std::string ownerName{};
    int ownerPID = 0;
    int sharingState = 0;
    int storeType = 0;
    // Filled by callers that capture the window; not part of the list.
    std::shared_ptr<const Image> image{};

    bool operator==(const CGWindow& other) const {
        return alpha == other.alpha &&
               backingLocationVideoMemory == other.backingLocationVideoMemory &&
               frame == other.frame && isOnScreen == other.isOnScreen && layer == other.layer &&
               memoryUsage == other.memoryUsage && name == other.name && number == other.number &&
               ownerName == other.ownerName && ownerPID == other.ownerPID &&
               sharingState == other.sharingState && storeType == other.storeType &&
               (image == other.image || (image && other.image && *image == *other.image));
    }
};

// Options of list(), as bits.
namespace windowListOption {
inline constexpr unsigned all = 0;
inline constexpr unsigned onScreenOnly = 1;
inline constexpr unsigned excludeDesktopElements = 16;
// What the window tweaks ask for.
inline constexpr unsigned onScreenWindows = onScreenOnly | excludeDesktopElements;
}  // namespace windowListOption

// Layers of the list that the tweaks tell apart.
namespace windowLayer {
inline constexpr int normal = 0;
inline constexpr int floating = 3;
inline constexpr int dock = 20;
inline constexpr int mainMenu = 24;
inline constexpr int desktop = -2147483623;
}  // namespace windowLayer

// The window server's list of windows. Main thread.
class WindowList {
  public:
    virtual ~WindowList() = default;
    // Front to back.
    virtual std::vector<CGWindow> list(unsigned options) = 0;
    // The window's current picture (the Dock preview); absent when it is
    // gone or cannot be captured.
    virtual std::optional<Image> image(int number) = 0;
    // Puts one of our own windows (its native id) directly below another
    // application's window.
    virtual bool orderBelow(std::uint64_t ownWindow, int number) = 0;
};

}  // namespace quorvane::platform
