#pragma once

#include <optional>

#include "core/Published.hpp"
#include "platform/RunningApplications.hpp"

namespace quorvane::windows {

// The first running application whose bundle is at `url` (a Dock item's
// "AXURL").
std::optional<platform::RunningApplication> applicationAt(platform::RunningApplications& applications,
                                                          const std::string& url);

// The last application other than this program to become active: what
// "the other apps" and the shortcut cheat sheet are about. Started at
// launch; main thread.
class AppService {
  public:
    explicit AppService(platform::RunningApplications& applications)
        : applications_(applications) {}
    ~AppService();
    AppService(const AppService&) = delete;
    AppService& operator=(const AppService&) = delete;

    // Takes the live frontmost application (unless it is this program) and
    // follows activations from then on. Starting twice observes once.
    void start();
    void stop();

    core::Published<std::optional<platform::RunningApplication>> frontmostApp;

  private:
    bool isSelf(const platform::RunningApplication& application) const;

    platform::RunningApplications& applications_;
    std::optional<platform::RunningApplications::Token> observer_;
};

}  // namespace quorvane::windows
