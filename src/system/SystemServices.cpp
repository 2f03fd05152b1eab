#include "system/SystemServices.hpp"

namespace quorvane::system {

void runCommandInBackground(SystemServices& services, std::string cause, std::string command) {
    services.commands.submit([&services, cause = std::move(cause), command = std::move(command)] {
        services.journal.record(cause, "command", command);
        if (auto ran = services.shell.run(command); !ran)
            services.log.warning(cause, "\"" + command + "\" failed: " + ran.error().message);
    });
}

}  // namespace quorvane::system
