#include "core/WorkflowMembership.hpp"

#include <algorithm>

namespace quorvane::core {

bool isMember(std::string_view tweakId, std::string_view workflowId, const Preference& preference) {
    return std::any_of(preference.taskWorkflows.begin(), preference.taskWorkflows.end(),
                       [&](const TaskWorkflow& membership) {
                           return membership.taskId == tweakId &&
                                  membership.workflowId == workflowId;
                       });
}

std::vector<std::shared_ptr<Tweak>> tweaksInWorkflow(
    const Preference& preference, std::string_view workflowId,
    const std::vector<std::shared_ptr<Tweak>>& all) {
    std::vector<std::shared_ptr<Tweak>> members;
    for (const auto& membership : preference.taskWorkflows) {
        if (membership.workflowId != workflowId)
            continue;
        auto found = std::find_if(all.begin(), all.end(), [&](const std::shared_ptr<Tweak>& tweak) {
            return tweak->id() == membership.taskId;
        });
        if (found != all.end())
            members.push_back(*found);
    }
    return members;
}

void moveToTop(Preference& preference, std::string_view tweakId, std::string_view workflowId) {
    auto& entries = preference.taskWorkflows;
    auto isEntry = [&](const TaskWorkflow& m) {
        return m.taskId == tweakId && m.workflowId == workflowId;
    };
    auto entry = std::find_if(entries.begin(), entries.end(), isEntry);
    if (entry == entries.end())
        return;
    auto first = std::find_if(entries.begin(), entries.end(),
                              [&](const TaskWorkflow& m) { return m.workflowId == workflowId; });
    // `first` is at or before `entry`: rotate the entry into its place.
    std::rotate(first, entry, std::next(entry));
}

}  // namespace quorvane::core
