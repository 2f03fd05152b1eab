#pragma once

#include <QColor>
#include <QPixmap>
#include <string_view>

namespace quorvane::ui {

// The few symbols the program shows, drawn as vectors so they are crisp at
// any scale and need no icon theme: "checkmark.circle.fill",
// "xmark.circle.fill", "arrow.clockwise.circle.fill", "trash.circle.fill",
// "arrow.uturn.backward.circle.fill", "doc.on.clipboard.fill",
// "exclamationmark.triangle.fill", "info.circle", "sun.max", "moon.fill"
// and "magnifyingglass". Unknown names draw
// nothing (a transparent pixmap).
QPixmap symbolPixmap(std::string_view name, int size, const QColor& colour, qreal devicePixelRatio);

bool isKnownSymbol(std::string_view name);

}  // namespace quorvane::ui
