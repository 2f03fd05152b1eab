#pragma once

#include <QIcon>

namespace quorvane::ui {

// "menuBarIcon": the status item's template image, drawn here at 18 x 18
// points (and twice that for dense screens) in black on transparent, so the
// system can tint it like every other status icon.
QIcon menuBarIcon();

}  // namespace quorvane::ui
