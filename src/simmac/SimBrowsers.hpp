#pragma once

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/Browsers.hpp"
#include "platform/Journal.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's browsers in "browsers.json" in its folder, read
// afresh each time (`quorvane sim browser` installs and removes them from
// another process). A Mac starts with Safari, which opens "http" and
// "https". Opening links and changing a default are journaled; a removed
// browser stops being anyone's default.
//   {"installed": ["com.apple.Safari"],
//    "defaults": {"http": "com.apple.Safari", "https": "com.apple.Safari"}}
class SimBrowsers final : public Browsers {
  public:
    explicit SimBrowsers(std::filesystem::path root, Journal* journal = nullptr)
        : file_(std::move(root) / "browsers.json"), journal_(journal) {}

    bool isInstalled(const std::string& bundleIdentifier) override;
    std::optional<std::string> defaultFor(const std::string& scheme) override;
    Status setDefault(const std::string& scheme, const std::string& bundleIdentifier) override;
    Status open(const std::vector<std::string>& urls, const std::string& bundleIdentifier) override;

    // For `quorvane sim browser`.
    Status install(const std::string& bundleIdentifier);
    Status remove(const std::string& bundleIdentifier);
    std::vector<std::string> installed();

  private:
    std::filesystem::path file_;
    Journal* journal_;
    std::mutex mutex_;
};

}  // namespace quorvane::platform::sim
