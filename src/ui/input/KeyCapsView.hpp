#pragma once

#include <QPainter>
#include <QRegion>
#include <vector>

#include "platform/Overlays.hpp"
#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::ui {

// The keystroke strip's caps: a row centred in the strip, each cap a
// rounded key, light or dark after the palette, pressed in slightly (a
// deeper face, the legend lower) while the keys are held.
namespace keyCaps {

// Where each cap lies in a strip of `size`.
std::vector<QRectF> layout(const platform::OverlayDescription& description, QSize size);
void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size);
// The caps' outline: all of the strip a desktop draws. Held or not, the
// same.
QRegion shape(const platform::OverlayDescription& description, QSize size);
// What differs between two strips of `size`: their caps' areas.
QRegion changed(const platform::OverlayDescription& before,
                const platform::OverlayDescription& after, QSize size);
platform::qt::ContentPainter painter();

}  // namespace keyCaps

}  // namespace quorvane::ui
