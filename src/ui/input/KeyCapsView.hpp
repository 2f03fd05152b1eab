#pragma once

#include <QPainter>
#include <QRegion>
#include <vector>

#include "platform/Overlays.hpp"
#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::ui {

// The keystroke strip's caps: a row centred in the strip, each cap a
// rounded key, light or dark after the palette, pressed in slightly while
// the keys are held.
namespace keyCaps {

// Where each cap lies in a strip of `size`.
std::vector<QRectF> layout(const platform::OverlayDescription& description, QSize size);
void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size);
// The caps' outline: all of the strip a desktop draws.
QRegion shape(const platform::OverlayDescription& description, QSize size);
platform::qt::ContentPainter painter();

}  // namespace keyCaps

}  // namespace quorvane::ui
