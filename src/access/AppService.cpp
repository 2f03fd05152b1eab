#include "access/AppService.hpp"

namespace quorvane::windows {

std::optional<platform::RunningApplication> applicationAt(platform::RunningApplications& applications,
                                                          const std::string& url) {
    for (auto& application : applications.list())
        if (application.bundleUrl == url)
            return std::move(application);
    return std::nullopt;
}

AppService::~AppService() {
    stop();
}

bool AppService::isSelf(const platform::RunningApplication& application) const {
    // By pid: two applications without a bundle identifier are not the same
    // application.
    return application.pid == applications_.ownPid();
}

void AppService::start() {
    if (observer_)
        return;
    if (auto live = applications_.frontmost(); live && !isSelf(*live))
        frontmostApp.set(live);
    observer_ = applications_.observeActivation([this](const platform::RunningApplication& app) {
        if (!isSelf(app))
            frontmostApp.set(app);
    });
}

void AppService::stop() {
    if (observer_)
        applications_.removeObserver(*observer_);
    observer_.reset();
}

}  // namespace quorvane::windows
