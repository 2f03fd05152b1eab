#include "system/apps/QuitAppsTask.hpp"

#include <algorithm>

#include "core/TextFolding.hpp"

namespace quorvane::system {

QuitAppsTask::~QuitAppsTask() {
    for (auto& restart : restarts_)
        restart.cancel();
}

std::string QuitAppsTask::keyOf(const platform::RunningApplication& app) {
    return app.bundleIdentifier.value_or(app.bundleUrl.value_or(std::string()));
}

std::vector<QuitAppsTask::Item> QuitAppsTask::items() const {
    const auto kept = keepAppsSetting.read(services_.defaults);
    const int own = applications_.ownPid();
    std::vector<Item> listed;
    for (auto& app : applications_.list()) {
        const auto key = keyOf(app);
        if (!app.regular || app.pid == own || key.empty() ||
            key == services_.bundleIdentifier)
            continue;
        const bool keep = std::find(kept.begin(), kept.end(), key) != kept.end();
        listed.push_back({std::move(app), keep});
    }
    std::stable_sort(listed.begin(), listed.end(), [](const Item& a, const Item& b) {
        return core::foldedForSearch(a.app.name) < core::foldedForSearch(b.app.name);
    });
    return listed;
}

bool QuitAppsTask::terminate(const platform::RunningApplication& app) const {
    const bool ended = applications_.forceTerminate(app.pid);
    if (ended)
        services_.journal.record(id(), "quit", app.name + " (pid " + std::to_string(app.pid) + ")");
    else
        services_.log.warning(id(), "could not quit " + app.name + " (pid " +
                                        std::to_string(app.pid) + ")");
    return ended;
}

core::RunOutcome QuitAppsTask::run() {
    for (const auto& item : items())
        if (!item.keep)
            terminate(item.app);
    changed_.emit();
    return core::RunOutcome::done();
}

void QuitAppsTask::quit(int pid) const {
    for (const auto& item : items())
        if (item.app.pid == pid)
            terminate(item.app);
    changed_.emit();
}

void QuitAppsTask::restart(int pid) const {
    for (const auto& item : items())
        if (item.app.pid == pid && terminate(item.app))
            reopenWhenGone(item.app, services_.mainQueue.now() + restartWait);
    changed_.emit();
}

void QuitAppsTask::reopenWhenGone(platform::RunningApplication app, platform::Instant deadline) const {
    const auto running = applications_.list();
    const bool gone = std::none_of(running.begin(), running.end(),
                                   [&](const auto& other) { return other.pid == app.pid; });
    if (gone) {
        if (applications_.reopen(app))
            services_.journal.record(id(), "reopen", app.name);
        else
            services_.log.warning(id(), "could not open " + app.name + " again");
        changed_.emit();
        return;
    }
    if (services_.mainQueue.now() >= deadline) {
        services_.log.warning(id(), app.name + " did not end within 5 s: not opened again");
        return;
    }
    std::erase_if(restarts_, [](const auto& token) { return token.isCancelled(); });
    restarts_.push_back(services_.mainQueue.after(
        restartPoll, [this, app = std::move(app), deadline] { reopenWhenGone(app, deadline); }));
}

void QuitAppsTask::toggleKeep(int pid) const {
    auto kept = keepAppsSetting.read(services_.defaults);
    for (const auto& item : items()) {
        if (item.app.pid != pid)
            continue;
        const auto key = keyOf(item.app);
        if (item.keep)
            std::erase(kept, key);
        else
            kept.push_back(key);
    }
    keepAppsSetting.write(services_.defaults, kept);
    changed_.emit();
}

core::ExtraPanel QuitAppsTask::extraView() const {
    return {.items =
                [this] {
                    std::vector<core::ExtraPanel::Item> shown;
                    for (const auto& item : items())
                        shown.push_back({.id = std::to_string(item.app.pid),
                                         .title = item.app.name,
                                         .icon = item.app.icon,
                                         .marked = item.keep,
                                         .actions = {{"quit", "Quit"},
                                                     {"restart", "Restart"},
                                                     {"keep", item.keep ? "Don't Keep" : "Keep"}}});
                    return shown;
                },
            .choose = [this](const std::string& pid) { quit(std::stoi(pid)); },
            .act =
                [this](const std::string& pid, const std::string& action) {
                    const int which = std::stoi(pid);
                    if (action == "restart")
                        restart(which);
                    else if (action == "keep")
                        toggleKeep(which);
                    else
                        quit(which);
                },
            .observe = [this](std::function<void()> changed) { return changed_.subscribe(
                                                                  [changed] { changed(); }); },
            .emptyText = "No running apps to quit"};
}

}  // namespace quorvane::system
