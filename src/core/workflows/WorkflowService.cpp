#include "core/workflows/WorkflowService.hpp"

#include <algorithm>

#include "core/Uuid.hpp"
#include "core/WorkflowMembership.hpp"
#include "core/workflows/WorkflowIcons.hpp"

namespace quorvane::core {

WorkflowService::WorkflowService(Store& store, const Catalogue& catalogue,
                                 platform::MainQueue& queue, Random random)
    : store_(store),
      catalogue_(catalogue),
      queue_(queue),
      random_(random ? std::move(random) : systemRandom()) {}

const Workflow* WorkflowService::find(const std::string& workflowId) const {
    for (const auto& workflow : workflows())
        if (workflow.id == workflowId)
            return &workflow;
    return nullptr;
}

bool WorkflowService::isMember(const Tweak& tweak, const Workflow& workflow) const {
    return core::isMember(tweak.id(), workflow.id, store_.preference.get());
}

std::vector<Workflow> WorkflowService::workflowsContaining(const Tweak& tweak) const {
    std::vector<Workflow> found;
    for (const auto& workflow : workflows())
        if (isMember(tweak, workflow))
            found.push_back(workflow);
    return found;
}

std::vector<std::shared_ptr<Tweak>> WorkflowService::tweaksIn(const Workflow& workflow) const {
    return tweaksInWorkflow(store_.preference.get(), workflow.id, catalogue_.allTweaks());
}

void WorkflowService::toggle(const Tweak& tweak, const Workflow& workflow) {
    store_.preference.modify([&](Preference& preference) {
        auto& entries = preference.taskWorkflows;
        const TaskWorkflow entry{tweak.id(), workflow.id};
        if (std::erase(entries, entry) == 0)
            entries.push_back(entry);
    });
}

void WorkflowService::moveToTop(const Tweak& tweak, const Workflow& workflow) {
    store_.preference.modify(
        [&](Preference& preference) { core::moveToTop(preference, tweak.id(), workflow.id); });
}

void WorkflowService::runAll(const Workflow& workflow) {
    for (auto& tweak : tweaksIn(workflow))
        queue_.post([tweak] { (void)tweak->run(); });  // each refusal is its own tweak's to tell
}

void WorkflowService::createDefaultWorkflowIfNeeded() {
    if (!workflows().empty())
        return;
    store_.preference.modify([&](Preference& preference) {
        preference.workflows.push_back({defaultWorkflowId, "Favorite", "star",
                                        std::string(rawValue(Workflow::EnumColor::yellow))});
        for (const auto& tweak : catalogue_.allTweaks())
            if (tweak->shouldMenuBar())
                preference.taskWorkflows.push_back({tweak->id(), defaultWorkflowId});
    });
}

Workflow WorkflowService::add() {
    Workflow workflow{newUuid(random_), "Workflow " + std::to_string(++created_),
                      std::string(workflowGlyphs[random_(workflowGlyphs.size())].name),
                      std::string(rawValue(allWorkflowColors[random_(allWorkflowColors.size())]))};
    store_.preference.modify(
        [&](Preference& preference) { preference.workflows.push_back(workflow); });
    return workflow;
}

void WorkflowService::update(const Workflow& workflow) {
    store_.preference.modify([&](Preference& preference) {
        for (auto& stored : preference.workflows)
            if (stored.id == workflow.id)
                stored = workflow;
    });
}

void WorkflowService::remove(const std::string& workflowId) {
    store_.preference.modify([&](Preference& preference) {
        std::erase_if(preference.workflows,
                      [&](const Workflow& workflow) { return workflow.id == workflowId; });
        std::erase_if(preference.taskWorkflows,
                      [&](const TaskWorkflow& entry) { return entry.workflowId == workflowId; });
    });
}

}  // namespace quorvane::core
