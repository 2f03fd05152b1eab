#include "core/Preference.hpp"

#include "core/RecordCoding.hpp"

namespace quorvane::core {

void to_json(nlohmann::json& json, const Preference& preference) {
    json = {{"showsInMenuBar", preference.showsInMenuBar},
            {"checkForUpdateAtLaunch", preference.checkForUpdateAtLaunch},
            {"taskWorkflows", preference.taskWorkflows},
            {"workflows", preference.workflows}};
    writeOptional(json, "_playsSound", preference._playsSound);
    writeOptional(json, "compactWorkflowId", preference.compactWorkflowId);
}

void from_json(const nlohmann::json& json, Preference& preference) {
    json.at("showsInMenuBar").get_to(preference.showsInMenuBar);
    json.at("checkForUpdateAtLaunch").get_to(preference.checkForUpdateAtLaunch);
    json.at("taskWorkflows").get_to(preference.taskWorkflows);
    json.at("workflows").get_to(preference.workflows);
    readOptional(json, "_playsSound", preference._playsSound);
    readOptional(json, "compactWorkflowId", preference.compactWorkflowId);
}

}  // namespace quorvane::core
