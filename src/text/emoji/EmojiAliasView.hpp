#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Geometry.hpp"
#include "text/emoji/EmojiIndex.hpp"

namespace quorvane::text {

// The floating list of emoji matching a typed shortcode: a panel that never
// takes the keyboard focus from the application being typed in.
class EmojiAliasView {
  public:
    static constexpr platform::Size panelSize{240, 300};

    virtual ~EmojiAliasView() = default;
    // Shows it at `frame`, in Cocoa space.
    virtual void present(platform::Rect frame) = 0;
    virtual void withdraw() = 0;
    // The matches as positions in `index`'s table, in order; `selected` is
    // a position in `matches`. No matches shows "No emojis found".
    virtual void setMatches(std::shared_ptr<const EmojiIndex> index,
                            std::vector<std::size_t> matches,
                            std::optional<std::size_t> selected) = 0;

    // A click on a row, by its position in the matches.
    std::function<void(std::size_t row)> picked;
};

}  // namespace quorvane::text
