#pragma once

#include <string>

#include "platform/Geometry.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform {

// The desktop picture of a screen, as a file. Main thread.
class DesktopPicture {
  public:
    virtual ~DesktopPicture() = default;
    virtual Result<std::string> pictureOf(const std::string& screen) = 0;
    virtual Status setPicture(const std::string& screen, const std::string& path) = 0;
};

// Pixels: reads a picture's size, and makes a new picture from one.
class PictureComposer {
  public:
    virtual ~PictureComposer() = default;
    virtual Result<Size> sizeOf(const std::string& path) = 0;
    // The picture scaled to `scaled`, the `crop` of that (y down), with a
    // black band `band` high across its top, as PNG bytes.
    virtual Result<std::string> compose(const std::string& path, Size scaled, Rect crop,
                                        double band) = 0;
};

}  // namespace quorvane::platform
