#include "core/workflows/WorkflowService.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/WorkflowMembership.hpp"
#include "core/workflows/WorkflowIcons.hpp"

namespace quorvane::core {

namespace {

WorkflowService::Random uniformRandom() {
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    return [engine](std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(*engine);
    };
}

}  // namespace

WorkflowService::WorkflowService(Store& store, const Catalogue& catalogue,
                                 platform::MainQueue& queue, Random random)
    : store_(store),
      catalogue_(catalogue),
      queue_(queue),
      random_(random ? std::move(random) : uniformRandom()) {}

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
        queue_.post([tweak] { tweak->run(); });
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
    Workflow workflow{newIdentifier(), "Workflow " + std::to_string(++created_),
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

// A random (version 4) UUID in upper case, as a new workflow's id.
std::string WorkflowService::newIdentifier() {
    std::array<unsigned, 16> bytes{};
    for (auto& byte : bytes)
        byte = static_cast<unsigned>(random_(256));
    bytes[6] = (bytes[6] & 0x0fu) | 0x40u;
    bytes[8] = (bytes[8] & 0x3fu) | 0x80u;
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

}  // namespace quorvane::core
