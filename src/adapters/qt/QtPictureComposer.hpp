#pragma once

#include "platform/DesktopPicture.hpp"

namespace quorvane::platform::qt {

// Pictures through QImage; the result is PNG.
class QtPictureComposer final : public PictureComposer {
  public:
    Result<Size> sizeOf(const std::string& path) override;
    Result<std::string> compose(const std::string& path, Size scaled, Rect crop,
                                double band) override;
};

}  // namespace quorvane::platform::qt
