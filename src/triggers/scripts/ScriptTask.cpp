#include "triggers/scripts/ScriptTask.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::triggers {

std::string_view rawValue(ScriptTask::Mode mode) {
    return mode == ScriptTask::Mode::commandLine ? "commandLine" : "appleScript";
}

std::string_view title(ScriptTask::Mode mode) {
    return mode == ScriptTask::Mode::commandLine ? "Command Line" : "AppleScript";
}

void to_json(nlohmann::json& json, ScriptTask::Mode mode) {
    json = rawValue(mode);
}

void from_json(const nlohmann::json& json, ScriptTask::Mode& mode) {
    const auto& raw = json.get_ref<const std::string&>();
    if (raw == "commandLine")
        mode = ScriptTask::Mode::commandLine;
    else if (raw == "appleScript")
        mode = ScriptTask::Mode::appleScript;
    else
        throw nlohmann::json::other_error::create(501, "unknown mode \"" + raw + "\"", &json);
}

void to_json(nlohmann::json& json, const ScriptTask& task) {
    json = {{"categories", task.categories},
            {"id", task.id},
            {"icon", task.icon},
            {"name", task.name},
            {"description", task.description},
            {"mode", task.mode},
            {"content", task.content},
            {"showsAlert", task.showsAlert}};
}

void from_json(const nlohmann::json& json, ScriptTask& task) {
    json.at("categories").get_to(task.categories);
    json.at("id").get_to(task.id);
    json.at("icon").get_to(task.icon);
    json.at("name").get_to(task.name);
    json.at("description").get_to(task.description);
    json.at("mode").get_to(task.mode);
    json.at("content").get_to(task.content);
    json.at("showsAlert").get_to(task.showsAlert);
}

}  // namespace quorvane::triggers
