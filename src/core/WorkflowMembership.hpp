#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "core/Preference.hpp"
#include "core/Tweak.hpp"

namespace quorvane::core {

// Workflow memberships live in Preference.taskWorkflows; the order of one
// workflow's entries is the order of its tweaks.

bool isMember(std::string_view tweakId, std::string_view workflowId, const Preference& preference);

// The workflow's tweaks in membership order, each found by id among `all`;
// an id that names no current tweak (a deleted script) yields nothing.
std::vector<std::shared_ptr<Tweak>> tweaksInWorkflow(
    const Preference& preference, std::string_view workflowId,
    const std::vector<std::shared_ptr<Tweak>>& all);

// Moves the tweak's entry in front of the workflow's other entries. Every
// other entry keeps its order relative to the rest.
void moveToTop(Preference& preference, std::string_view tweakId, std::string_view workflowId);

}  // namespace quorvane::core
