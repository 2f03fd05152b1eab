#pragma once

#include <QImage>
#include <QPoint>

namespace quorvane::platform::qt {

// The magnifier of the colour sampler: the `cells` × `cells` pixels of a
// capture around one pixel, each `zoom` pixels wide, in an image made once.
// Rendering allocates nothing, so it can follow every pointer move over a
// 4K capture. Pixels beyond the capture's edge are drawn dark.
class Loupe {
  public:
    static constexpr int cells = 15;
    static constexpr int zoom = 8;
    static constexpr int side = cells * zoom;

    Loupe();

    // `capture` in Format_RGB32 or Format_ARGB32(_Premultiplied); answers the
    // centre pixel.
    QRgb render(const QImage& capture, QPoint pixel);
    const QImage& image() const { return image_; }

  private:
    QImage image_;
};

}  // namespace quorvane::platform::qt
