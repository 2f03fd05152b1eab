#pragma once

#include <QPainter>
#include <QRegion>

#include "platform/Overlays.hpp"
#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::ui {

// The cursor ring: a circle 44 points across in the accent colour, a
// faint fill inside a solid outline, drawn at 80 % while a button is held,
// with a soft glow when asked. The window is cut to the ring itself, so a
// desktop without translucency shows the ring and nothing around it.
namespace cursorRing {

inline constexpr double diameter = 44;
inline constexpr double pressedScale = 0.8;
inline constexpr double outlineWidth = 3;
inline constexpr double glowWidth = 8;

// The circle's radius, smaller while a button is held.
double radius(const platform::OverlayDescription& description);
void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size);
QRegion shape(const platform::OverlayDescription& description, QSize size);
platform::qt::ContentPainter painter();

}  // namespace cursorRing

}  // namespace quorvane::ui
