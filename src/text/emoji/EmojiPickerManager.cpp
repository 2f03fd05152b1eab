#include "text/emoji/EmojiPickerManager.hpp"

#include <algorithm>

#include "platform/MacKeyCodes.hpp"
#include "platform/PasteboardJournal.hpp"
#include "text/emoji/StoredList.hpp"

namespace quorvane::text {

namespace {

// What the grid shows without search text: the recent emoji in their order,
// or the category's in table order. With text: every match, whatever the
// category.
std::vector<std::size_t> shownFor(const EmojiIndex& index, const std::string& text,
                                  EmojiCategory category, const std::vector<std::string>& recents) {
    if (!text.empty())
        return index.searchMatches(text);
    const auto& table = index.table();
    std::vector<std::size_t> shown;
    if (category == EmojiCategory::recent) {
        for (const auto& recent : recents) {
            const auto found = std::find_if(table.begin(), table.end(),
                                            [&recent](const Emoji& emoji) { return emoji.emoji == recent; });
            if (found != table.end())
                shown.push_back(static_cast<std::size_t>(found - table.begin()));
        }
        return shown;
    }
    const auto name = displayName(category);
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].category == name)
            shown.push_back(i);
    return shown;
}

}  // namespace

EmojiPickerManager::EmojiPickerManager(TextServices& services, std::string cause)
    : services_(services), cause_(std::move(cause)) {}

EmojiPickerManager::~EmojiPickerManager() {
    *alive_ = false;
    removeStatusItem();
}

void EmojiPickerManager::showStatusItem() {
    if (item_ || !services_.statusBar)
        return;
    std::weak_ptr<bool> alive = alive_;
    item_ = services_.statusBar->addItem(
        {.name = "Emoji Picker",
         .image = "emojiPickerMenuBarIcon",
         .clicked = [this, alive](platform::Rect frame) {
             if (auto live = alive.lock(); live && *live)
                 togglePopover(frame);
         }});
    services_.emojiTable.hold();
    services_.emojiTable.load([this, alive] {
        if (auto live = alive.lock(); live && *live)
            refresh();
    });
}

void EmojiPickerManager::removeStatusItem() {
    if (view_)
        view_->withdraw();
    if (!item_ || !services_.statusBar)
        return;
    services_.statusBar->removeItem(*item_);
    item_.reset();
    // Nothing of the table is kept while off: the popover lets go of it too.
    emojis_.clear();
    if (view_)
        view_->setEmojis(std::make_shared<const EmojiIndex>(), {}, category_);
    services_.emojiTable.letGo();
}

void EmojiPickerManager::togglePopover(platform::Rect anchor) {
    if (!view_ && services_.makePickerPopover) {
        view_ = services_.makePickerPopover();
        if (!view_)
            return;
        view_->searchChanged = [this](const std::string& text) { setSearchText(text); };
        view_->categoryChosen = [this](EmojiCategory category) { setCategory(category); };
        view_->picked = [this](std::size_t position) {
            if (const auto* emoji = shown(position))
                pick(*emoji);
        };
        view_->copied = [this](std::size_t position) {
            if (const auto* emoji = shown(position))
                copy(*emoji);
        };
    }
    if (!view_)
        return;
    if (view_->isPresented()) {
        view_->withdraw();
        return;
    }
    previousApp_ = services_.input.windows.applications.frontmost();
    // Each opening starts with no search: the chosen category's whole list.
    searchText_.clear();
    refresh();
    view_->present(anchor);
}

void EmojiPickerManager::setSearchText(std::string text) {
    searchText_ = std::move(text);
    refresh();
}

void EmojiPickerManager::setCategory(EmojiCategory category) {
    category_ = category;
    refresh();
}

void EmojiPickerManager::refresh() {
    const auto table = index();
    std::weak_ptr<bool> alive = alive_;
    services_.emojiSearch.submit([this, alive, table, text = searchText_, category = category_,
                                  recents = recentEmojis(), &mainQueue = services_.mainQueue] {
        auto found = shownFor(*table, text, category, recents);
        mainQueue.post([this, alive, text, category, found = std::move(found)]() mutable {
            if (auto live = alive.lock(); live && *live)
                published(text, category, std::move(found));
        });
    });
}

void EmojiPickerManager::published(const std::string& text, EmojiCategory category,
                                   std::vector<std::size_t> found) {
    // A result for a search or category that is no longer chosen is dropped.
    if (text != searchText_ || category != category_)
        return;
    emojis_ = std::move(found);
    if (view_)
        view_->setEmojis(index(), emojis_, category_);
}

const Emoji* EmojiPickerManager::shown(std::size_t position) const {
    if (position >= emojis_.size() || !index())
        return nullptr;
    return &index()->table()[emojis_[position]];
}

void EmojiPickerManager::pick(const Emoji& emoji) {
    if (!services_.input.windows.gate.isTrusted()) {
        services_.permissionAsker.ask(platform::Permission::accessibility);
        return;
    }
    write(emoji.emoji);
    remember(emoji.emoji);
    if (view_)
        view_->withdraw();
    auto& applications = services_.input.windows.applications;
    if (!previousApp_ || previousApp_->pid == applications.ownPid())
        return;
    const int pid = previousApp_->pid;
    // After the popover has gone: the application gets its focus back, then
    // the emoji. Typed where the desktop can type it (a terminal takes no
    // paste shortcut), else pasted.
    std::weak_ptr<bool> alive = alive_;
    services_.mainQueue.post([this, alive, pid, text = emoji.emoji] {
        if (auto live = alive.lock(); !live || !*live)
            return;
        auto& apps = services_.input.windows.applications;
        if (auto front = apps.frontmost(); !front || front->pid != pid)
            apps.activate(pid);
        auto& poster = services_.input.poster;
        const auto delivered = poster.canTypeText(text)
                                   ? poster.typeText(cause_, text)
                                   : poster.pressKey(cause_, platform::macKey::v,
                                                     platform::modifier::command, "v");
        if (!delivered)
            services_.log.warning(cause_, delivered.error().message);
    });
}

void EmojiPickerManager::copy(const Emoji& emoji) {
    write(emoji.emoji);
    remember(emoji.emoji);
    if (view_)
        view_->showToast("Copied");
}

void EmojiPickerManager::write(const std::string& emoji) {
    const platform::PasteboardContents contents{{platform::pasteboardType::string, emoji}};
    services_.pasteboard.write(contents);
    platform::journalPasteboardWrite(services_.journal, cause_, contents);
}

std::vector<std::string> EmojiPickerManager::recentEmojis() const {
    return readStoredList(services_.defaults, recentsKey);
}

void EmojiPickerManager::remember(const std::string& emoji) {
    auto recents = recentEmojis();
    recents.insert(recents.begin(), emoji);
    // Duplicates go first, then the list is cut: picking one of fifty
    // recent emoji again must not drop the oldest.
    std::vector<std::string> kept;
    for (auto& recent : recents)
        if (std::find(kept.begin(), kept.end(), recent) == kept.end())
            kept.push_back(std::move(recent));
    if (kept.size() > maxRecents)
        kept.resize(maxRecents);
    writeStoredList(services_.defaults, recentsKey, kept);
    if (category_ == EmojiCategory::recent && searchText_.empty())
        refresh();
}

}  // namespace quorvane::text
