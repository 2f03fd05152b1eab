#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ActivationPolicy.hpp"
#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/Workspace.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's pasteboard: a text and a change count.
class SimPasteboard final : public Pasteboard {
  public:
    std::optional<std::string> string() const override { return text_; }
    void setString(const std::string& text) override {
        text_ = text;
        ++changeCount;
    }
    void clearContents() override {
        text_.reset();
        ++changeCount;
    }

    int changeCount = 0;

  private:
    std::optional<std::string> text_;
};

// The simulated workspace: a launched application joins the running ones.
class SimWorkspace final : public Workspace {
  public:
    Status launchApplication(const std::string& name) override {
        std::lock_guard lock(mutex_);
        running_.push_back(name);
        return success();
    }
    Status openUrl(const std::string& url) override {
        std::lock_guard lock(mutex_);
        opened.push_back(url);
        return success();
    }
    std::vector<std::string> runningApplications() const {
        std::lock_guard lock(mutex_);
        return running_;
    }

    std::vector<std::string> opened;

  private:
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
