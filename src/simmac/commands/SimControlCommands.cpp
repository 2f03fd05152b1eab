#include "simmac/commands/SimControlCommands.hpp"

#include "core/automation/Automation.hpp"

namespace quorvane::simmac {

using app::ControlCommands;
using app::ControlRequest;
using app::controlFailure;
using app::controlSuccess;

void bindSimCommands(ControlCommands& commands, SimControls controls) {
    if (controls.postEvent)
        commands.bind("post", [post = controls.postEvent, observed = controls.isObserved](
                                  const ControlRequest& request,
                                  const ControlCommands::Reply& reply) {
            auto name = request.text("name");
            if (!name)
                return reply(controlFailure(name.error().message));
            if (!core::eventFromNotification(name.value()) && !(observed && observed(name.value())))
                return reply(controlFailure("\"" + name.value() +
                                            "\" is not one of the system events Quorvane observes"));
            reply(controlSuccess({{"observers", post(name.value())}}));
        });
    if (controls.pressKey)
        commands.bind("press", [press = controls.pressKey](const ControlRequest& request,
                                                           const ControlCommands::Reply& reply) {
            auto combination = request.text("combination");
            if (!combination)
                return reply(controlFailure(combination.error().message));
            reply(controlSuccess({{"taken", press(combination.value())}}));
        });
}

}  // namespace quorvane::simmac
