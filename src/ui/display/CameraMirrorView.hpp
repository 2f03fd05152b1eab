#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "platform/Overlays.hpp"
#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::ui {

// The camera mirror: the camera's frame cut to the mirror's shape, scaled
// to fit or fill its square, mirrored and turned as asked; "No camera" and
// the reason when there is no frame; an optional white border; and, while
// hovered, the close and mirror buttons. The window is cut to the shape.
namespace cameraMirror {

inline constexpr double squircleExponent = 4;
inline constexpr double borderWidth = 3;

// The shape's outline filling `area`.
QPainterPath outline(platform::MirrorPicture::Shape shape, const QRectF& area);
void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size);
QRegion shape(const platform::OverlayDescription& description, QSize size);
platform::qt::ContentPainter painter();

}  // namespace cameraMirror

}  // namespace quorvane::ui
