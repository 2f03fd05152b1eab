#pragma once

#include <QIcon>
#include <QImage>

namespace quorvane::ui {

// "menuBarIcon": the status item's template image, drawn here at 18 x 18
// points (and twice that for dense screens) in black on transparent, so the
// system can tint it like every other status icon.
QIcon menuBarIcon();

// "emojiPickerMenuBarIcon": the emoji picker's status item, a smiling face
// drawn the same way.
QIcon emojiPickerMenuBarIcon();

// The application's icon at `size` pixels square: the same switch in white
// on a rounded blue square, for desktop menus and the package's icon set.
QImage applicationIcon(int size);

}  // namespace quorvane::ui
