#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core/Category.hpp"

namespace quorvane::triggers {

// One of the user's own tweaks: a command line or an AppleScript, stored in
// the list "scriptTasks".
struct ScriptTask {
    // Stored by raw value.
    enum class Mode { commandLine, appleScript };

    std::vector<core::Category> categories{core::Category::script};
    std::string id;  // an upper-case UUID, made once
    std::string icon;
    std::string name;
    std::string description;
    Mode mode = Mode::commandLine;
    std::string content;
    bool showsAlert = false;

    bool operator==(const ScriptTask&) const = default;
};

std::string_view rawValue(ScriptTask::Mode mode);
// "Command Line", "AppleScript".
std::string_view title(ScriptTask::Mode mode);

void to_json(nlohmann::json& json, ScriptTask::Mode mode);
void from_json(const nlohmann::json& json, ScriptTask::Mode& mode);
void to_json(nlohmann::json& json, const ScriptTask& task);
void from_json(const nlohmann::json& json, ScriptTask& task);

}  // namespace quorvane::triggers
