#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.hpp"
#include "text/emoji/Emoji.hpp"
#include "text/emoji/EmojiIndex.hpp"

namespace quorvane::text {

// The emoji picker's popover: a search field, a row of categories, a grid
// of emoji and the credit line.
class EmojiPickerView {
  public:
    static constexpr platform::Size popoverSize{400, 400};

    virtual ~EmojiPickerView() = default;
    // Hangs it from `anchor` (the status item's frame, Cocoa space), its
    // search field empty.
    virtual void present(platform::Rect anchor) = 0;
    virtual void withdraw() = 0;
    virtual bool isPresented() const = 0;
    // The emoji shown, as positions in `index`'s table, and the category
    // highlighted.
    virtual void setEmojis(std::shared_ptr<const EmojiIndex> index, std::vector<std::size_t> shown,
                           EmojiCategory category) = 0;
    virtual void showToast(const std::string& text) = 0;

    // Set by the manager.
    std::function<void(const std::string& text)> searchChanged;
    std::function<void(EmojiCategory category)> categoryChosen;
    // A position in what is shown: picked (copied and pasted), or copied.
    std::function<void(std::size_t position)> picked;
    std::function<void(std::size_t position)> copied;
};

}  // namespace quorvane::text
