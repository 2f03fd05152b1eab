#include "input/shortcuts/ViewShortcutManager.hpp"

#include <algorithm>

#include "platform/MacKeyCodes.hpp"

namespace quorvane::input {

namespace {

constexpr const char* cause = "ViewShortcutTask";

}  // namespace

ViewShortcutManager::ViewShortcutManager(KeyboardTweakServices& services, MenuReadLimits limits)
    : services_(services), limits_(limits) {
    favoritesRecord_ = services.persistor.registerPublished(favoritesKey, favorites);
    favoritesChanged_ = favorites.subscribe([this](const std::vector<ShortcutFavorite>&) {
        if (state_.info)
            publish();
    });
}

ViewShortcutManager::~ViewShortcutManager() {
    *alive_ = false;
    cancelled_ = true;
    if (monitor_)
        services_.input.localMonitors.remove(*monitor_);
}

core::RunOutcome ViewShortcutManager::show() {
    if (!isSupported())
        return core::RunOutcome::unavailable(core::notSupportedOnThisDesktop);
    bool noApplication = false;
    auto outcome = services_.input.windows.gate.runOneShot([this, &noApplication] {
        const auto front = services_.input.windows.apps.frontmostApp.get();
        if (!front || !front->bundleIdentifier) {
            noApplication = true;
            return;
        }
        const AppKey app{*front->bundleIdentifier, front->pid};
        if (!view_ && services_.makeShortcutSheet)
            view_ = services_.makeShortcutSheet(*this);
        shownApp_ = app;
        state_ = {.appName = front->name, .focusSearchField = true, .isLoading = true};

        // Centred on the screen the pointer is on.
        const auto pointer = services_.input.monitors.mouseLocation();
        const auto screens = services_.input.windows.screens.screens();
        const auto size = ShortcutSheetView::panelSize;
        platform::Rect frame{{pointer.x - size.width / 2, pointer.y - size.height / 2}, size};
        if (const auto* screen = platform::screenAt(pointer, screens)) {
            const auto& area = screen->visibleFrame;
            frame.origin = {area.origin.x + (area.size.width - size.width) / 2,
                            area.origin.y + (area.size.height - size.height) / 2};
            frame = platform::movedInside(frame, area);
        }
        if (view_)
            view_->present(frame);

        // The sheet's keys, from this run on.
        if (monitor_)
            services_.input.localMonitors.remove(*monitor_);
        monitor_ = services_.input.localMonitors.addLocal(
            platform::eventMask::keyDown,
            [this](const platform::InputEvent& event) { return handleKey(event); });

        load(app, front->name, [this, app](std::shared_ptr<const ShortcutInfo> info) {
            // A read for an application no longer shown is only cached.
            if (shownApp_ != app)
                return;
            state_.isLoading = false;
            state_.info = std::move(info);
            if (!state_.info->name.empty())
                state_.appName = state_.info->name;
            publish();
        });
        if (state_.isLoading)
            publish();
    });
    if (noApplication)
        return core::RunOutcome::refused("no application is in front");
    return outcome;
}

void ViewShortcutManager::loadFrontmost(Loaded loaded) {
    if (!isSupported())
        return loaded(platform::Error{core::notSupportedOnThisDesktop});
    if (!services_.input.windows.gate.isTrusted())
        return loaded(platform::Error{
            "Quorvane needs Accessibility to read other applications' menus: allow it in "
            "System Settings, Privacy & Security"});
    const auto front = services_.input.windows.apps.frontmostApp.get();
    if (!front)
        return loaded(platform::Error{"no application is in front"});
    if (!front->bundleIdentifier)
        return loaded(platform::Error{front->name + " has no bundle identifier"});
    load({*front->bundleIdentifier, front->pid}, front->name,
         [loaded = std::move(loaded)](std::shared_ptr<const ShortcutInfo> info) { loaded(info); });
}

void ViewShortcutManager::load(const AppKey& app, const std::string& name,
                               std::function<void(std::shared_ptr<const ShortcutInfo>)> loaded) {
    if (auto found = infos_.find(app); found != infos_.end())
        return loaded(found->second);
    auto& waiting = reading_[app];
    waiting.push_back(std::move(loaded));
    if (waiting.size() > 1)
        return;  // already being read
    std::weak_ptr<bool> alive = alive_;
    helper_.submit([this, alive, app, name, accessibility = services_.menuAccessibility,
                    limits = limits_, &mainQueue = services_.input.mainQueue] {
        auto read = readMenus(*accessibility, app.pid, limits, &cancelled_);
        // A hung application does not say its name.
        if (read.name.empty())
            read.name = name;
        auto info = std::make_shared<const ShortcutInfo>(std::move(read));
        mainQueue.post([this, alive, app, info = std::move(info)] {
            if (auto live = alive.lock(); live && *live)
                finished(app, info);
        });
    });
}

void ViewShortcutManager::finished(const AppKey& app, std::shared_ptr<const ShortcutInfo> info) {
    auto waiting = std::move(reading_[app]);
    reading_.erase(app);
    if (info->truncated)
        services_.input.log.warning(cause, "read part of " + info->name + "'s menus: " +
                                         "they are too deep, too large or too slow");
    // An empty or failed read is tried again next time. A relaunched
    // application's earlier read is dead.
    if (keyCount(*info) > 0) {
        std::erase_if(infos_, [&](const auto& entry) { return entry.first.bundle == app.bundle; });
        infos_[app] = info;
    }
    for (auto& loaded : waiting)
        loaded(info);
}

void ViewShortcutManager::publish() {
    // The selection follows its key when the rows change order.
    const ShortcutKey* selectedKey = state_.selected && *state_.selected < state_.rows.size()
                                         ? state_.rows[*state_.selected].key
                                         : nullptr;
    state_.rows = state_.info ? sheetRows(*state_.info, state_.searchText, favorites.get())
                              : std::vector<ShortcutRow>{};
    state_.selected.reset();
    for (std::size_t i = 0; selectedKey && i < state_.rows.size(); ++i)
        if (state_.rows[i].key == selectedKey)
            state_.selected = i;
    if (view_)
        view_->show(state_);
}

void ViewShortcutManager::setSearchText(std::string text) {
    state_.searchText = std::move(text);
    state_.selected.reset();
    publish();
    // Return takes the best match of a search.
    if (!state_.searchText.empty() && !state_.rows.empty()) {
        state_.selected = 0;
        if (view_)
            view_->show(state_);
    }
}

void ViewShortcutManager::select(std::size_t row) {
    if (row >= state_.rows.size())
        return;
    state_.selected = row;
    if (view_)
        view_->show(state_);
}

void ViewShortcutManager::toggleFavorite(std::size_t row) {
    if (row >= state_.rows.size() || !state_.info)
        return;
    const ShortcutFavorite favorite{state_.info->name, state_.rows[row].key->name};
    auto list = favorites.get();
    if (auto found = std::find(list.begin(), list.end(), favorite); found != list.end())
        list.erase(found);
    else
        list.push_back(favorite);
    favorites.set(std::move(list));
}

void ViewShortcutManager::performRow(std::size_t row) {
    if (row >= state_.rows.size())
        return;
    const ShortcutKey key = *state_.rows[row].key;
    dismiss();
    perform(key);
}

void ViewShortcutManager::dismiss() {
    if (view_)
        view_->withdraw();
}

void ViewShortcutManager::perform(const ShortcutKey& key) {
    if (!key.axElement)
        return;
    // Pressed through the window actions, which journal it.
    if (!services_.input.windows.actions.press(cause, *key.axElement))
        services_.input.log.warning(cause, "could not press " + key.name + ": the application no longer answers");
}

bool ViewShortcutManager::handleKey(const platform::InputEvent& event) {
    namespace key = platform::macKey;
    if (!isShown())
        return false;
    const std::size_t count = state_.rows.size();
    switch (event.keyCode) {
        case key::up:
        case key::pageUp:
            if (count > 0)
                select(state_.selected && *state_.selected > 0 ? *state_.selected - 1 : 0);
            return true;
        case key::down:
        case key::pageDown:
            if (count > 0)
                select(state_.selected ? std::min(*state_.selected + 1, count - 1) : 0);
            return true;
        case key::returnKey: {
            // The item is pressed after the sheet is gone.
            std::optional<ShortcutKey> chosen;
            if (state_.selected && *state_.selected < count)
                chosen = *state_.rows[*state_.selected].key;
            dismiss();
            if (chosen)
                perform(*chosen);
            return true;
        }
        case key::escape:
            dismiss();
            return true;
        case key::tab:
            state_.focusSearchField = !state_.focusSearchField;
            if (view_)
                view_->show(state_);
            return true;
        case key::deleteKey:
            // In the search field, Delete deletes.
            if (state_.focusSearchField)
                return false;
            state_.focusSearchField = true;
            if (view_)
                view_->show(state_);
            return true;
        default:
            return false;
    }
}

}  // namespace quorvane::input
