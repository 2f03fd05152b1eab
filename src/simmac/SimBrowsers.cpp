#include "simmac/SimBrowsers.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/JsonFile.hpp"

namespace quorvane::platform::sim {

namespace {

using nlohmann::json;

constexpr std::size_t maxFileBytes = 64 * 1024;
constexpr const char* safari = "com.apple.Safari";

json fresh() {
    return {{"installed", json::array({safari})},
            {"defaults", {{"http", safari}, {"https", safari}}}};
}

json load(const std::filesystem::path& file) {
    auto state = posix::readJsonObject(file, maxFileBytes);
    if (state && state->contains("installed") && (*state)["installed"].is_array() &&
        state->contains("defaults") && (*state)["defaults"].is_object())
        return *state;
    return fresh();
}

Status save(const std::filesystem::path& file, const json& state) {
    return posix::writeJsonFile(file, state);
}

bool contains(const json& list, const std::string& bundleIdentifier) {
    return std::find(list.begin(), list.end(), bundleIdentifier) != list.end();
}

}  // namespace

bool SimBrowsers::isInstalled(const std::string& bundleIdentifier) {
    std::lock_guard lock(mutex_);
    return contains(load(file_)["installed"], bundleIdentifier);
}

std::optional<std::string> SimBrowsers::defaultFor(const std::string& scheme) {
    std::lock_guard lock(mutex_);
    const auto state = load(file_);
    const auto& defaults = state["defaults"];
    if (auto found = defaults.find(scheme); found != defaults.end() && found->is_string())
        return found->get<std::string>();
    return std::nullopt;
}

Status SimBrowsers::setDefault(const std::string& scheme, const std::string& bundleIdentifier) {
    std::lock_guard lock(mutex_);
    auto state = load(file_);
    if (!contains(state["installed"], bundleIdentifier))
        return Error{"no application has the identifier " + bundleIdentifier};
    state["defaults"][scheme] = bundleIdentifier;
    if (auto saved = save(file_, state); !saved)
        return saved;
    if (journal_)
        journal_->record("SimulatedMac", "default browser", scheme + " " + bundleIdentifier);
    return success();
}

Status SimBrowsers::open(const std::vector<std::string>& urls, const std::string& bundleIdentifier) {
    std::lock_guard lock(mutex_);
    if (!contains(load(file_)["installed"], bundleIdentifier))
        return Error{"no application has the identifier " + bundleIdentifier};
    if (journal_)
        for (const auto& url : urls)
            journal_->record("SimulatedMac", "open url", url + " with " + bundleIdentifier);
    return success();
}

Status SimBrowsers::install(const std::string& bundleIdentifier) {
    std::lock_guard lock(mutex_);
    auto state = load(file_);
    if (!contains(state["installed"], bundleIdentifier))
        state["installed"].push_back(bundleIdentifier);
    return save(file_, state);
}

Status SimBrowsers::remove(const std::string& bundleIdentifier) {
    std::lock_guard lock(mutex_);
    auto state = load(file_);
    auto& installed = state["installed"];
    installed.erase(std::remove(installed.begin(), installed.end(), bundleIdentifier),
                    installed.end());
    for (auto& [scheme, application] : state["defaults"].items())
        if (application == bundleIdentifier)
            application = nullptr;
    return save(file_, state);
}

std::vector<std::string> SimBrowsers::installed() {
    std::lock_guard lock(mutex_);
    const auto state = load(file_);
    std::vector<std::string> list;
    for (const auto& application : state["installed"])
        if (application.is_string())
            list.push_back(application.get<std::string>());
    return list;
}

}  // namespace quorvane::platform::sim
