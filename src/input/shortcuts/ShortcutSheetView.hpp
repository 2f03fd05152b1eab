#pragma once

#include <cstddef>
#include <string>

#include "input/shortcuts/ShortcutSheet.hpp"
#include "platform/Geometry.hpp"

namespace quorvane::input {

// What the sheet's controls do; the manager answers them on the main thread.
class ShortcutSheetController {
  public:
    virtual ~ShortcutSheetController() = default;
    virtual void setSearchText(std::string text) = 0;
    virtual void select(std::size_t row) = 0;
    virtual void toggleFavorite(std::size_t row) = 0;
    // A double click: the row's item is pressed.
    virtual void performRow(std::size_t row) = 0;
    virtual void dismiss() = 0;
};

// The floating cheat sheet: made once, shown centred in `frame` (screen
// space, y up) with the keyboard focus, hidden when done.
class ShortcutSheetView {
  public:
    static constexpr platform::Size panelSize{560, 460};

    virtual ~ShortcutSheetView() = default;
    virtual void present(platform::Rect frame) = 0;
    virtual void withdraw() = 0;
    virtual bool isShown() const = 0;
    virtual void show(const ShortcutSheetState& state) = 0;
};

}  // namespace quorvane::input
