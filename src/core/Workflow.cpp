#include "core/Workflow.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::core {

std::string_view rawValue(Workflow::EnumColor color) {
    using enum Workflow::EnumColor;
    switch (color) {
        case blue:
            return "Blue";
        case brown:
            return "Brown";
        case green:
            return "Green";
        case indigo:
            return "Indigo";
        case orange:
            return "Orange";
        case pink:
            return "Pink";
        case purple:
            return "Purple";
        case red:
            return "Red";
        case teal:
            return "Teal";
        case yellow:
            return "Yellow";
    }
    return "";
}

std::optional<Workflow::EnumColor> workflowColorFromRawValue(std::string_view raw) {
    for (auto color : allWorkflowColors)
        if (rawValue(color) == raw)
            return color;
    return std::nullopt;
}

void to_json(nlohmann::json& json, const Workflow& workflow) {
    json = {{"id", workflow.id},
            {"name", workflow.name},
            {"icon", workflow.icon},
            {"colorHex", workflow.colorHex}};
}

void from_json(const nlohmann::json& json, Workflow& workflow) {
    json.at("id").get_to(workflow.id);
    json.at("name").get_to(workflow.name);
    json.at("icon").get_to(workflow.icon);
    json.at("colorHex").get_to(workflow.colorHex);
}

void to_json(nlohmann::json& json, const TaskWorkflow& membership) {
    json = {{"taskId", membership.taskId}, {"workflowId", membership.workflowId}};
}

void from_json(const nlohmann::json& json, TaskWorkflow& membership) {
    json.at("taskId").get_to(membership.taskId);
    json.at("workflowId").get_to(membership.workflowId);
}

}  // namespace quorvane::core
