#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Journal.hpp"
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
    std::vector<std::string> runningApplications() const {
        std::lock_guard lock(mutex_);
        return running_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> running_;
};

// Until the permission panel exists, the simulated Mac journals each request.
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
