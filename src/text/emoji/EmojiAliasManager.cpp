#include "text/emoji/EmojiAliasManager.hpp"

#include <algorithm>
#include <utility>

#include "platform/Utf8.hpp"
#include "text/emoji/StoredList.hpp"

namespace quorvane::text {

namespace {

using platform::InputEvent;
namespace macKey = platform::macKey;
namespace modifier = platform::modifier;

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
}

void EmojiAliasManager::start() {
    stop();
    services_.emojiTable.hold();
    holdsTable_ = true;
    services_.emojiTable.load();
    frontmost_ = services_.input.windows.apps.frontmostApp.subscribe(
        [this](const std::optional<platform::RunningApplication>& application) {
            frontmostChanged(application);
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
    frontmost_.cancel();
    if (!std::exchange(holdsTable_, false))
        return;
    // Nothing of the table is kept while off: the panel lets go of it too.
    dismiss();
    if (view_)
        view_->setMatches(std::make_shared<const EmojiIndex>(), {}, std::nullopt);
    services_.emojiTable.letGo();
}

void EmojiAliasManager::dismiss() {
    string_.clear();
    activeApp_.reset();
    hidePanel();
}

void EmojiAliasManager::hidePanel() {
    shownQuery_.reset();
    matches_.clear();
    selected_.reset();
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
    if (typedIntoThisProgram()) {
        // The followed application is the last other one in front, but
        // this key went to our own window (a click on the panel brings it
        // forward): the shortcode's application never saw it.
        dismiss();
        return;
    }
    if (showing_) {
        typedWhileShowing(event);
        return;
    }
    const auto& front = services_.input.windows.apps.frontmostApp.get();
    if (event.isARepeat || !view_ || !front || isIgnored(*front)) {
        dismiss();
        return;
    }
    if (string_.empty()) {
        string_ = ":";
        activeApp_ = front;
        return;
    }
    // A second colon, like any character no alias holds, ends the shortcode.
    if (!activeApp_ || front->pid != activeApp_->pid || !extendsShortcode(event)) {
        dismiss();
        return;
    }
    if (!extend(event.characters))
        return;
    showPanel();
    search();
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
    if (!extendsShortcode(event)) {
        // A colon, a shortcut, a key that moves the caret or a character no
        // alias holds: the shortcode ends, and what the application holds
        // is its own.
        dismiss();
        return;
    }
    if (extend(event.characters))
        search();
}

bool EmojiAliasManager::typedIntoThisProgram() const {
    auto& applications = services_.input.windows.applications;
    const auto live = applications.frontmost();
    return live && live->pid == applications.ownPid();
}

bool EmojiAliasManager::extendsShortcode(const InputEvent& event) const {
    return (event.modifierFlags & (modifier::command | modifier::control)) == 0 &&
           index()->isAliasText(event.characters);
}

bool EmojiAliasManager::extend(const std::string& characters) {
    string_ += characters;
    // Nothing typed after it could match: collecting stops here, however
    // long the user goes on.
    if (index()->outgrowsAliases(string_)) {
        dismiss();
        return false;
    }
    return true;
}

void EmojiAliasManager::handlePanelKeyDown(const InputEvent& event) {
    if (event.isARepeat || !showing_)
        return;
    const auto front = services_.input.windows.applications.frontmost();
    if (!front || !activeApp_ || front->pid != activeApp_->pid) {
        // The user is in another application now: the key is theirs.
        dismiss();
        passOn(event);
        return;
    }
    // A key typed in the same burst as the shortcode can come before the
    // search result: it acts on the matches of everything typed before it.
    // The table is small enough to search here.
    if (shownQuery_ != string_)
        published(string_, index()->aliasMatches(string_));
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
            if (selected_) {
                choose(*selected_);
            } else {
                // Nothing to choose: the application's Return.
                dismiss();
                passOn(event);
            }
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

void EmojiAliasManager::passOn(const InputEvent& event) {
    pressKey(event.keyCode, event.modifierFlags, event.characters);
}

void EmojiAliasManager::frontmostChanged(
    const std::optional<platform::RunningApplication>& application) {
    // The shortcode is in the application left behind; keys go where the
    // user is now.
    if (!string_.empty() && (!application || !activeApp_ || application->pid != activeApp_->pid))
        dismiss();
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
    // One character, not one byte.
    while (!string_.empty() && (static_cast<unsigned char>(string_.back()) & 0xC0) == 0x80)
        string_.pop_back();
    if (!string_.empty())
        string_.pop_back();
    if (string_.empty()) {
        // The colon itself went.
        dismiss();
        return;
    }
    if (string_ == ":") {
        // Back to the colon alone: collecting again, with nothing to show
        // or choose (a Return now is the application's).
        hidePanel();
        return;
    }
    search();
}

// --- the panel and the search ------------------------------------------------

void EmojiAliasManager::showPanel() {
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
    // A result for a query that is no longer the one typed, or that is
    // shown already, is dropped.
    if (!showing_ || query != string_ || query == shownQuery_)
        return;
    shownQuery_ = query;
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
    const auto deletions = platform::utf8Length(string_);
    // Hidden first: the keys posted below come back through the monitor.
    dismiss();
    auto& applications = services_.input.windows.applications;
    if (auto front = applications.frontmost(); !front || front->pid != target.pid) {
        // A click on the panel may have brought this program forward; any
        // other application in front is where the user is now.
        if (!front || front->pid != applications.ownPid())
            return;
        applications.activate(target.pid);
    }
    auto& poster = services_.input.poster;
    // Typed text is deleted only when the emoji can take its place.
    if (auto typable = poster.canTypeText(emoji.emoji); !typable) {
        cannotType(typable.error().message);
        return;
    }
    for (std::size_t i = 0; i < deletions; ++i)
        pressKey(macKey::deleteKey, 0, "\x7f");
    const auto replaced = std::to_string(deletions) +
                          (deletions == 1 ? " typed character" : " typed characters");
    if (auto typed = poster.typeText(cause_, emoji.emoji); !typed) {
        services_.log.warning(cause_, typed.error().message);
        services_.journal.record(cause_, "insert",
                                 "deleted " + replaced + " in " + target.name + ", but " +
                                     emoji.description + " could not be typed");
        return;
    }
    services_.journal.record(cause_, "insert",
                             emoji.description + " typed into " + target.name + ", replacing " +
                                 replaced);
}

void EmojiAliasManager::cannotType(const std::string& why) {
    if (std::exchange(toldCannotType_, true))
        return;
    services_.log.warning(cause_, "emoji cannot be typed here, so shortcodes stay as typed: " + why);
    services_.alerts.show({.style = platform::Alert::Style::warning,
                           .message = "Emoji Alias cannot type emoji here",
                           .informativeText = "Shortcodes are left as they were typed (" + why + ")."});
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
