#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// A user-named, coloured group of tweaks.
struct Workflow {
    // The palette a workflow is drawn in; the raw value is what `colorHex`
    // holds, despite that field's name.
    enum class EnumColor { blue, brown, green, indigo, orange, pink, purple, red, teal, yellow };

    std::string id;
    std::string name;
    std::string icon;  // a glyph name of the icon font
    std::string colorHex;

    bool operator==(const Workflow&) const = default;
};

inline constexpr std::array allWorkflowColors{
    Workflow::EnumColor::blue,   Workflow::EnumColor::brown,  Workflow::EnumColor::green,
    Workflow::EnumColor::indigo, Workflow::EnumColor::orange, Workflow::EnumColor::pink,
    Workflow::EnumColor::purple, Workflow::EnumColor::red,    Workflow::EnumColor::teal,
    Workflow::EnumColor::yellow,
};

std::string_view rawValue(Workflow::EnumColor color);
std::optional<Workflow::EnumColor> workflowColorFromRawValue(std::string_view raw);

// One membership: the tweak `taskId` belongs to the workflow `workflowId`.
// The order of a workflow's memberships is the order of its tweaks.
struct TaskWorkflow {
    std::string taskId;
    std::string workflowId;

    bool operator==(const TaskWorkflow&) const = default;
};

void to_json(nlohmann::json& json, const Workflow& workflow);
void from_json(const nlohmann::json& json, Workflow& workflow);
void to_json(nlohmann::json& json, const TaskWorkflow& membership);
void from_json(const nlohmann::json& json, TaskWorkflow& membership);

}  // namespace quorvane::core
