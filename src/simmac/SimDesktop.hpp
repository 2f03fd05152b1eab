#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ActivationPolicy.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "simmac/SimPasteboard.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/RecentHistory.hpp"
#include "platform/Workspace.hpp"

namespace quorvane::platform::sim {

// The simulated workspace: a launched application joins the running ones;
// what is opened or shown is journaled, and the last of it kept. Terminal
// and Finder are installed; tests install more.
class SimWorkspace final : public Workspace {
  public:
    explicit SimWorkspace(Journal* journal = nullptr) : journal_(journal) {}

    Status launchApplication(const std::string& name) override {
        {
            std::lock_guard lock(mutex_);
            keepRecent(running_, name, keptEvents);
        }
        if (launched)
            launched(name);
        return success();
    }
    Status openUrl(const std::string& url) override { return record("open", url); }
    bool isInstalled(const std::string& bundleIdentifier) const override {
        std::lock_guard lock(mutex_);
        return installed.contains(bundleIdentifier);
    }
    Status openUrl(const std::string& url, const std::string& bundleIdentifier) override {
        return record("open", url + " with " + bundleIdentifier);
    }
    Status selectFile(const std::string& path, const std::string& root) override {
        return record("reveal", path + " in " + root);
    }
    Status showExtensionManagement() override {
        return record("open", "Finder extension settings");
    }
    std::vector<std::string> runningApplications() const {
        std::lock_guard lock(mutex_);
        return running_;
    }

    // Where a launched application joins the running ones (the simulated
    // desktop's list), when there is one.
    std::function<void(const std::string& name)> launched;
    std::vector<std::string> opened;
    std::set<std::string> installed{"com.apple.Terminal", "com.apple.finder"};

  private:
    Status record(const char* kind, const std::string& what) {
        std::lock_guard lock(mutex_);
        keepRecent(opened, what, keptEvents);
        if (journal_)
            journal_->record("SimulatedMac", kind, what);
        return success();
    }

    // What a long run keeps of what was launched and opened.
    static constexpr std::size_t keptEvents = 256;

    Journal* journal_;
    mutable std::mutex mutex_;
    std::vector<std::string> running_;
};

// Records each request (for tests and tools without a panel).
class SimPermissionAsker final : public PermissionAsker {
  public:
    explicit SimPermissionAsker(Journal& journal) : journal_(journal) {}

    void ask(Permission permission) override {
        journal_.record("SimulatedMac", "permission request", std::string(title(permission)));
        asked.push_back(permission);
    }

    std::vector<Permission> asked;

  private:
    Journal& journal_;
};

}  // namespace quorvane::platform::sim

namespace quorvane::platform::sim {

// The program's own activation policy has no meaning off macOS: the
// simulated Mac only notes the changes.
class SimActivationPolicy final : public ActivationPolicy {
  public:
    explicit SimActivationPolicy(Log& log) : log_(log) {}
    void becomeRegular() override {
        log_.info("SimulatedMac", "activation policy: regular (shown in the Dock)");
    }
    void becomeAccessory() override {
        log_.info("SimulatedMac", "activation policy: accessory (status item only)");
    }

  private:
    Log& log_;
};

}  // namespace quorvane::platform::sim
