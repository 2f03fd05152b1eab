#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/RunningApplications.hpp"
#include "platform/StatusBar.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiPickerView.hpp"

namespace quorvane::text {

// The emoji picker in the menu bar: its status item opens a popover with a
// searchable, categorised grid; picking copies the emoji, remembers it
// among the recent ones and pastes it into the application that was in
// front. Main thread; searches run on a worker.
class EmojiPickerManager {
  public:
    static constexpr const char* recentsKey = "EmojiPickerTask.Manager.recentEmojis";
    static constexpr std::size_t maxRecents = 50;

    EmojiPickerManager(TextServices& services, std::string cause);
    ~EmojiPickerManager();
    EmojiPickerManager(const EmojiPickerManager&) = delete;
    EmojiPickerManager& operator=(const EmojiPickerManager&) = delete;

    // The status item, while the tweak is on.
    // Whether a status item would be seen: a status bar that shows items.
    bool canShowStatusItem() const {
        return services_.statusBar && (!services_.statusAreaShown || services_.statusAreaShown());
    }
    void showStatusItem();
    void removeStatusItem();
    bool hasStatusItem() const { return item_.has_value(); }
    void togglePopover(platform::Rect anchor);

    void setSearchText(std::string text);
    void setCategory(EmojiCategory category);
    // Copies, remembers and pastes where the user was.
    void pick(const Emoji& emoji);
    // Copies and remembers only, with the toast "Copied".
    void copy(const Emoji& emoji);

    // What the grid shows, as positions in the table.
    const std::vector<std::size_t>& emojis() const { return emojis_; }
    EmojiCategory category() const { return category_; }
    const std::shared_ptr<const EmojiIndex>& index() const { return services_.emojiTable.index(); }
    std::vector<std::string> recentEmojis() const;

  private:
    void refresh();
    void published(const std::string& text, EmojiCategory category, std::vector<std::size_t> found);
    void remember(const std::string& emoji);
    void write(const std::string& emoji);
    const Emoji* shown(std::size_t position) const;

    TextServices& services_;
    std::string cause_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::optional<platform::StatusBar::Token> item_;
    std::unique_ptr<EmojiPickerView> view_;
    std::string searchText_;
    EmojiCategory category_ = EmojiCategory::recent;
    std::vector<std::size_t> emojis_;
    // In front when the popover opened: where a pick is pasted.
    std::optional<platform::RunningApplication> previousApp_;
};

}  // namespace quorvane::text
