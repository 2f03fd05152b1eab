#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

#include "core/Workflow.hpp"

namespace quorvane::core {

// The user's settings, stored under "preference".
struct Preference {
    bool showsInMenuBar = true;
    bool checkForUpdateAtLaunch = false;
    std::vector<TaskWorkflow> taskWorkflows;
    std::vector<Workflow> workflows;
    std::optional<bool> _playsSound;
    // The workflow whose tweaks the status-item popover shows.
    std::optional<std::string> compactWorkflowId;

    bool playsSound() const { return _playsSound.value_or(false); }
    void setPlaysSound(bool plays) { _playsSound = plays; }

    bool operator==(const Preference&) const = default;
};

void to_json(nlohmann::json& json, const Preference& preference);
void from_json(const nlohmann::json& json, Preference& preference);

}  // namespace quorvane::core
