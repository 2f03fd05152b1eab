#include "text/emoji/EmojiAliasTask.hpp"

#include <algorithm>
#include <filesystem>

namespace quorvane::text {

namespace {

// "file:///Applications/TextEdit.app/" reads as "TextEdit".
std::string nameOfBundle(const std::string& url) {
    std::string path = url;
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    auto name = std::filesystem::path(path).filename().string();
    if (name.ends_with(".app"))
        name.resize(name.size() - 4);
    return name.empty() ? url : name;
}

}  // namespace

core::RunOutcome EmojiAliasTask::run() {
    return services_.input.windows.gate.applyToggle(
        *this,
        [this] {
            manager_.dismiss();
            manager_.stop();
        },
        [this] { manager_.start(); });
}

core::ConfigureForm EmojiAliasTask::configureView() const {
    auto& applications = services_.input.windows.applications;
    auto* manager = &manager_;
    core::FormAppList list{
        .items =
            [manager, &applications] {
                const auto running = applications.list();
                std::vector<core::FormAppList::App> apps;
                for (const auto& url : manager->ignoredApps()) {
                    auto found = std::find_if(running.begin(), running.end(),
                                              [&url](const auto& app) { return app.bundleUrl == url; });
                    apps.push_back({url, found != running.end() ? found->name : nameOfBundle(url)});
                }
                return apps;
            },
        .candidates =
            [&applications] {
                std::vector<core::FormAppList::App> apps;
                const int own = applications.ownPid();
                for (const auto& app : applications.list())
                    if (app.bundleUrl && app.pid != own)
                        apps.push_back({*app.bundleUrl, app.name});
                return apps;
            },
        .set = [manager](const std::vector<std::string>& urls) { manager->setIgnoredApps(urls); }};
    return {{{.title = "Ignored Apps",
              .controls = {core::FormControl::appList("Ignored Apps", std::move(list))},
              .footer = "Shortcodes typed in these applications are left as they are."}}};
}

}  // namespace quorvane::text
