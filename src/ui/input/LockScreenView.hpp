#pragma once

#include <QPainter>
#include <QRegion>

#include "platform/Overlays.hpp"
#include "adapters/qt/QtOverlays.hpp"

namespace quorvane::ui {

// The keyboard lock's window: see-through, so the screen stays in view,
// with the unlock button (an open padlock on a dark rounded square) in the
// middle when it is shown. The window is cut to the button: the lock holds
// the input itself, so nothing else of the window needs to exist.
namespace lockScreen {

void paint(QPainter& painter, const platform::OverlayDescription& description, QSize size);
QRegion shape(const platform::OverlayDescription& description, QSize size);
platform::qt::ContentPainter painter();

}  // namespace lockScreen

}  // namespace quorvane::ui
