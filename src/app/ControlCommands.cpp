#include "app/ControlCommands.hpp"

#include <future>
#include <memory>
#include <nlohmann/json.hpp>

#include "core/CanToggle.hpp"
#include "core/automation/Automation.hpp"
#include "core/intents/TweakIntents.hpp"

namespace quorvane::app {

namespace {

std::string failure(const std::string& message) {
    return nlohmann::json{{"ok", false}, {"error", message}}.dump();
}
std::string success(nlohmann::json extra = nlohmann::json::object()) {
    extra["ok"] = true;
    return extra.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string ControlCommands::handle(const std::string& request) {
    const auto json = nlohmann::json::parse(request, nullptr, false);
    if (!json.is_object() || !json.contains("command") || !json["command"].is_string())
        return failure("a request is a JSON object with a \"command\"");
    const std::string command = json["command"];
    if (command == "ping")
        return success();
    if (command == "reopen") {
        reopen_();
        return success();
    }
    if (command == "list") {
        nlohmann::json tweaks = nlohmann::json::array();
        for (const auto& tweak : catalogue_.allTweaks()) {
            nlohmann::json entry{
                {"id", tweak->id()}, {"name", tweak->name()}, {"available", tweak->isAvailable()}};
            if (auto toggle = core::asToggle(*tweak))
                entry["on"] = toggle->isOn();
            tweaks.push_back(entry);
        }
        return success({{"tweaks", tweaks}});
    }
    if (command == "runNamed" || command == "toggleNamed")
        return byName(command, json);
    if (command == "post")
        return post(json);
    if (command == "press") {
        if (!pressKey_)
            return failure("this Quorvane takes shortcuts from the real keyboard: press the keys");
        if (!json.contains("combination") || !json["combination"].is_string())
            return failure("\"press\" needs a \"combination\"");
        return success({{"taken", pressKey_(json["combination"].get<std::string>())}});
    }
    if (command == "finderAction") {
        if (!finderActions_)
            return failure("file actions need the running Quorvane");
        auto message = triggers::FinderActionMessage::decode(request);
        if (!message)
            return failure(message.error().message);
        if (!triggers::findFinderAction(message.value().actionId))
            return failure("no file action \"" + message.value().actionId + "\"");
        finderActions_->handle(message.value());
        return success();
    }
    if (command != "set")
        return failure("unknown command \"" + command + "\"");

    if (!json.contains("id") || !json["id"].is_string())
        return failure("\"" + command + "\" needs an \"id\"");
    const std::string id = json["id"];
    auto tweak = catalogue_.find(id);
    if (!tweak)
        return failure("no tweak \"" + id + "\"");
    if (!core::asToggle(*tweak))
        return failure(id + " is not a toggle: run it");
    if (!json.contains("on") || !json["on"].is_boolean())
        return failure("\"set\" needs \"on\": true or false");
    actions_.switchToggle(tweak, json["on"].get<bool>());
    return success({{"available", tweak->isAvailable()}, {"on", core::asToggle(*tweak)->isOn()}});
}

std::string ControlCommands::byName(const std::string& command, const nlohmann::json& request) {
    if (!request.contains("name") || !request["name"].is_string())
        return failure("\"" + command + "\" needs a \"name\"");
    const std::string name = request["name"];
    const auto kind = command == "runNamed" ? core::IntentKind::run : core::IntentKind::toggle;
    if (kind == core::IntentKind::toggle &&
        (!request.contains("on") || !request["on"].is_boolean()))
        return failure("\"toggleNamed\" needs \"on\": true or false");
    // Names first, as other programs' automation calls them; then, for
    // people at a terminal, a tweak's id.
    auto tweak = core::resolveIntentTweak(catalogue_, name, kind);
    if (!tweak) {
        tweak = catalogue_.find(name);
        if (tweak && (core::asToggle(*tweak) != nullptr) != (kind == core::IntentKind::toggle))
            tweak = nullptr;
    }
    if (!tweak)
        return success({{"found", false}});
    if (kind == core::IntentKind::run)
        tweak->run();
    else
        core::switchAndApply(*tweak, request["on"].get<bool>(), /*applyUnchanged=*/true);
    return success({{"found", true}, {"id", tweak->id()}, {"available", tweak->isAvailable()}});
}

std::string ControlCommands::post(const nlohmann::json& request) {
    if (!postEvent_)
        return failure("this Quorvane observes the real system's events, not simulated ones");
    if (!request.contains("name") || !request["name"].is_string())
        return failure("\"post\" needs a \"name\"");
    const std::string name = request["name"];
    if (!core::eventFromNotification(name))
        return failure("\"" + name + "\" is not one of the system events Quorvane observes");
    return success({{"observers", postEvent_(name)}});
}

std::string handleOnMainQueue(platform::MainQueue& queue, ControlCommands& commands,
                              const std::string& request) {
    auto answer = std::make_shared<std::promise<std::string>>();
    auto future = answer->get_future();
    queue.post([answer, &commands, request] { answer->set_value(commands.handle(request)); });
    if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return failure("Quorvane is busy; try again");
    return future.get();
}

}  // namespace quorvane::app
