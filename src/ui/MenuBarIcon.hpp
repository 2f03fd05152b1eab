#pragma once

#include <QIcon>
#include <QImage>
#include <string>

namespace quorvane::ui {

// "menuBarIcon": the status item's template image, drawn here at 18 x 18
// points (and twice that for dense screens) in black on transparent, so the
// system can tint it like every other status icon.
QIcon menuBarIcon();

// "emojiPickerMenuBarIcon": the emoji picker's status item, a smiling face
// drawn the same way.
QIcon emojiPickerMenuBarIcon();

// "statusIconSeparator": the separator that hides the status items to its
// left, a bar with a chevron pointing at them, drawn the same way.
QIcon statusIconSeparator();

// "hideStatusItemsScreenshot": a menu bar's right end, its status items
// and the separator among them, with the items that hiding takes away
// marked; `width` points wide at `pixelRatio`.
QImage hideStatusItemsScreenshot(int width, qreal pixelRatio);

// The image a configure form names; null for an unknown or empty name.
QImage formImage(const std::string& name, qreal pixelRatio);

// The application's icon at `size` pixels square: the same switch in white
// on a rounded blue square, for desktop menus and the package's icon set.
QImage applicationIcon(int size);

}  // namespace quorvane::ui
