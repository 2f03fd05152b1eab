#include "text/emoji/EmojiAliasManager.hpp"

#include <algorithm>

#include "core/TextFolding.hpp"
#include "platform/PasteboardJournal.hpp"
#include "text/emoji/StoredList.hpp"

namespace quorvane::text {

namespace {

using platform::EventType;
using platform::InputEvent;
namespace macKey = platform::macKey;
namespace modifier = platform::modifier;

// What a shortcode may hold: letters, digits, ":" and "_".
bool isAllowed(std::string_view characters) {
    return core::isAlphanumericText(characters, ":_");
}

// Text an application shows when the key is typed: no control characters,
// nothing typed with Command or Control, none of the function keys' private
// characters.
bool isPrintable(const InputEvent& event) {
    if (event.characters.empty() ||
        (event.modifierFlags & (modifier::command | modifier::control)) != 0)
        return false;
    for (char c : event.characters)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    // U+F700…U+F8FF (the Mac's arrow and function keys) is EF 9C 80…EF A3 BF.
    const auto& text = event.characters;
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) >= 0x9C && static_cast<unsigned char>(text[1]) <= 0xA3)
        return false;
    return true;
}

bool isPanelKey(std::uint16_t code) {
    return std::find(EmojiAliasManager::panelKeys.begin(), EmojiAliasManager::panelKeys.end(),
                     code) != EmojiAliasManager::panelKeys.end();
}

}  // namespace

EmojiAliasManager::EmojiAliasManager(TextServices& services, std::string cause)
    : services_(services),
      cause_(std::move(cause)),
      monitor_(services.input.monitors, services.journal, services.log, cause_,
               platform::eventMask::keyDown,
               [this](const InputEvent& event) { handleGlobalKeyDown(event); }) {}

EmojiAliasManager::~EmojiAliasManager() {
    *alive_ = false;
    if (showing_)
        services_.keyCapture.release();
    if (pending_)
        pending_->timer.cancel();
}

void EmojiAliasManager::start() {
    stop();
    std::weak_ptr<bool> alive = alive_;
    // A shortcode typed while the table loads is searched again once it is in.
    services_.emojiTable.load([this, alive] {
        if (auto live = alive.lock(); live && *live && showing_)
            search();
    });
    monitor_.start();
    if (!view_ && services_.makeAliasPanel) {
        view_ = services_.makeAliasPanel();
        if (view_)
            view_->picked = [this](std::size_t row) { choose(row); };
    }
}

void EmojiAliasManager::stop() {
    monitor_.stop();
}

void EmojiAliasManager::dismiss() {
    string_.clear();
    typed_.clear();
    matches_.clear();
    selected_.reset();
    activeApp_.reset();
    if (showing_) {
        showing_ = false;
        services_.keyCapture.release();
        if (view_)
            view_->withdraw();
    }
}

// --- keys -------------------------------------------------------------------

void EmojiAliasManager::handleGlobalKeyDown(const InputEvent& event) {
    // The path every key typed anywhere takes: nothing collected and no
    // colon, nothing to do.
    if (string_.empty() && event.characters != ":")
        return;
    if (showing_) {
        typedWhileShowing(event);
        return;
    }
    if (event.isARepeat || !view_ || !isAllowed(event.characters)) {
        dismiss();
        return;
    }
    const auto& front = services_.input.windows.apps.frontmostApp.get();
    if (!front || isIgnored(*front)) {
        dismiss();
        return;
    }
    if (string_.empty()) {
        string_ = ":";
        typed_.push_back({":", true});
    } else if (event.characters == ":") {
        // A second colon ends the shortcode.
        dismiss();
        return;
    } else {
        string_ += event.characters;
        typed_.push_back({event.characters, true});
    }
    if (string_.size() >= 2) {
        showPanel();
        search();
    }
}

// A key that reached the application while the panel shows: the panel's
// own keys come through the capture instead.
void EmojiAliasManager::typedWhileShowing(const InputEvent& event) {
    if (isPanelKey(event.keyCode))
        return;
    const auto& front = services_.input.windows.apps.frontmostApp.get();
    if (event.isARepeat || !front || !activeApp_ || front->pid != activeApp_->pid) {
        dismiss();
        return;
    }
    if (event.keyCode == macKey::deleteKey && (event.modifierFlags & modifier::command) == 0) {
        deleteBackward();
        return;
    }
    if (!isPrintable(event)) {
        // A shortcut or a key that moves the caret: what the application
        // now holds is not known any more.
        dismiss();
        return;
    }
    if (!isAllowed(event.characters)) {
        // It reached the application and is deleted with the shortcode,
        // but the query stays.
        typed_.push_back({event.characters, false});
        return;
    }
    if (event.characters == ":") {
        dismiss();
        return;
    }
    string_ += event.characters;
    typed_.push_back({event.characters, true});
    search();
}

void EmojiAliasManager::handlePanelKeyDown(const InputEvent& event) {
    if (event.isARepeat || !showing_)
        return;
    switch (event.keyCode) {
        case macKey::up:
        case macKey::pageUp:
            selectPrevious();
            return;
        case macKey::down:
        case macKey::pageDown:
            selectNext();
            return;
        case macKey::returnKey:
            if (selected_)
                choose(*selected_);
            return;
        case macKey::left:
        case macKey::right:
        case macKey::space:
        case macKey::escape:
            dismiss();
            return;
        default:
            return;
    }
}

void EmojiAliasManager::choose(std::size_t row) {
    if (row >= matches_.size() || !index())
        return;
    // The table outlives the matches, which dismissing empties.
    const Emoji& chosen = index()->table()[matches_[row]];
    replace(chosen);
    dismiss();
}

void EmojiAliasManager::selectPrevious() {
    if (!selected_ || *selected_ == 0)
        return;
    --*selected_;
    if (view_)
        view_->setMatches(index(), matches_, selected_);
}

void EmojiAliasManager::selectNext() {
    if (!selected_ || *selected_ + 1 >= matches_.size())
        return;
    ++*selected_;
    if (view_)
        view_->setMatches(index(), matches_, selected_);
}

void EmojiAliasManager::deleteBackward() {
    if (typed_.empty()) {
        dismiss();
        return;
    }
    const bool inQuery = typed_.back().second;
    const std::string removed = typed_.back().first;
    typed_.pop_back();
    if (typed_.empty()) {
        // The colon itself went.
        dismiss();
        return;
    }
    if (inQuery) {
        string_.erase(string_.size() - removed.size());
        search();
    }
}

// --- the panel and the search ------------------------------------------------

void EmojiAliasManager::showPanel() {
    activeApp_ = services_.input.windows.apps.frontmostApp.get();
    if (!showing_) {
        showing_ = true;
        std::weak_ptr<bool> alive = alive_;
        if (auto captured = services_.keyCapture.capture(
                panelKeys,
                [this, alive](const InputEvent& event) {
                    if (auto live = alive.lock(); live && *live)
                        handlePanelKeyDown(event);
                });
            !captured)
            services_.log.warning(cause_, captured.error().message);
    }
    // The top-left corner at the pointer, inside the visible frame of the
    // screen the pointer is on.
    const auto pointer = services_.input.monitors.mouseLocation();
    const auto screens = services_.input.windows.screens.screens();
    const auto size = EmojiAliasView::panelSize;
    platform::Rect frame{{pointer.x, pointer.y - size.height}, size};
    if (const auto* screen = platform::screenAt(pointer, screens))
        frame = platform::movedInside(frame, screen->visibleFrame);
    if (view_)
        view_->present(frame);
}

void EmojiAliasManager::search() {
    const auto table = index();
    std::weak_ptr<bool> alive = alive_;
    services_.emojiSearch.submit(
        [this, alive, table, query = string_, &mainQueue = services_.mainQueue] {
            auto found = table->aliasMatches(query);
            mainQueue.post([this, alive, query, found = std::move(found)]() mutable {
                if (auto live = alive.lock(); live && *live)
                    published(query, std::move(found));
            });
        });
}

void EmojiAliasManager::published(const std::string& query, std::vector<std::size_t> found) {
    // A result for a query that is no longer the one typed is dropped.
    if (!showing_ || query != string_)
        return;
    matches_ = std::move(found);
    selected_ = matches_.empty() ? std::nullopt : std::optional<std::size_t>(0);
    if (view_)
        view_->setMatches(index(), matches_, selected_);
}

// --- the replacement ---------------------------------------------------------

void EmojiAliasManager::pressKey(std::uint16_t keyCode, std::uint64_t flags, std::string_view characters) {
    if (auto pressed = services_.input.poster.pressKey(cause_, keyCode, flags, characters); !pressed)
        services_.log.warning(cause_, pressed.error().message);
}

void EmojiAliasManager::replace(const Emoji& emoji) {
    if (!activeApp_)
        return;
    const auto target = *activeApp_;
    const auto deletions = typed_.size();
    // Hidden first: the keys posted below come back through the monitor.
    dismiss();
    auto& applications = services_.input.windows.applications;
    if (auto front = applications.frontmost(); !front || front->pid != target.pid)
        applications.activate(target.pid);
    for (std::size_t i = 0; i < deletions; ++i)
        pressKey(macKey::deleteKey, 0, "\x7f");

    auto& pasteboard = services_.pasteboard;
    // Two insertions within the second: the first one's original is the
    // one to put back, not the emoji it wrote.
    platform::PasteboardContents original;
    if (pending_ && pasteboard.changeCount() == pending_->changeCount)
        original = std::move(pending_->contents);
    else
        original = boundedSnapshot();
    if (pending_)
        pending_->timer.cancel();
    const platform::PasteboardContents written{{platform::pasteboardType::string, emoji.emoji}};
    pasteboard.write(written);
    platform::journalPasteboardWrite(services_.journal, cause_, written);
    pressKey(platform::macKey::v, modifier::command, "v");
    services_.journal.record(cause_, "insert",
                             emoji.description + " into " + target.name + ", replacing " +
                                 std::to_string(deletions) +
                                 (deletions == 1 ? " typed character" : " typed characters"));

    pending_ = PendingRestore{std::move(original), pasteboard.changeCount(), {}};
    std::weak_ptr<bool> alive = alive_;
    pending_->timer = services_.mainQueue.after(restoreDelay, [this, alive] {
        if (auto live = alive.lock(); !live || !*live || !pending_)
            return;
        auto restore = std::move(*pending_);
        pending_.reset();
        auto& board = services_.pasteboard;
        if (board.changeCount() != restore.changeCount) {
            services_.journal.record(cause_, "pasteboard",
                                     "kept what was copied after the insertion");
            return;
        }
        // An empty pasteboard ends as an empty string.
        if (restore.contents.empty())
            restore.contents.push_back({platform::pasteboardType::string, ""});
        board.restore(restore.contents);
        platform::journalPasteboardWrite(services_.journal, cause_, restore.contents);
    });
}

platform::PasteboardContents EmojiAliasManager::boundedSnapshot() const {
    platform::PasteboardContents contents;
    std::size_t total = 0;
    for (const auto& type : services_.pasteboard.types()) {
        auto bytes = services_.pasteboard.data(type);
        if (!bytes)
            continue;
        if (total + bytes->size() > maxSnapshotBytes) {
            services_.log.warning(cause_, "the pasteboard's " + type +
                                              " is too large to keep across an insertion");
            continue;
        }
        total += bytes->size();
        contents.push_back({type, std::move(*bytes)});
    }
    return contents;
}

// --- ignored applications ------------------------------------------------------

std::vector<std::string> EmojiAliasManager::ignoredApps() const {
    return readStoredList(services_.defaults, ignoredAppsKey);
}

void EmojiAliasManager::setIgnoredApps(const std::vector<std::string>& urls) {
    writeStoredList(services_.defaults, ignoredAppsKey, urls);
}

bool EmojiAliasManager::isIgnored(const platform::RunningApplication& application) const {
    if (!application.bundleUrl)
        return false;
    const auto ignored = ignoredApps();
    return std::find(ignored.begin(), ignored.end(), *application.bundleUrl) != ignored.end();
}

}  // namespace quorvane::text
