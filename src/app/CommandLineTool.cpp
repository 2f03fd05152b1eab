#include "app/CommandLineTool.hpp"

#include <iostream>
#include <optional>
#include <sstream>
#include <nlohmann/json.hpp>

#include "adapters/posix/FileJournal.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "cli/HelpText.hpp"
#include "cli/JournalCommand.hpp"
#include "cli/ListCommand.hpp"
#include "control/CommandClient.hpp"
#include "control/DesktopCommands.hpp"
#include "control/DisplayCommands.hpp"
#include "control/InProcessInstance.hpp"
#include "control/InputCommands.hpp"
#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "simmac/commands/SimRunners.hpp"
#include "triggers/finder/FinderActions.hpp"
#include "wiring/AppServices.hpp"
#include "wiring/InstallLayout.hpp"
#include "wiring/UserFiles.hpp"

namespace quorvane::app {

namespace {

// Lists the catalogue as this build has it (which tweaks are available)
// with the user's own scripts, without a display and without writing the
// user's records.
int listCatalogue(cli::ListOptions options) {
    // The running instance knows its desktop and the states it keeps: what
    // it cannot do there, and which toggles are on, it says. Without one,
    // this process's own catalogue and the user's records answer alone.
    std::ostringstream quiet;
    bool answered = false;
    (void)CommandClient(quiet, quiet).send({{"command", "list"}}, [&](const nlohmann::json& reply) {
        cli::takeInstanceList(reply, options);
        answered = true;
        return 0;
    });
    HeadlessApplication application;

    AppServices services(platform::posix::XdgDirectories::current(), AppServices::Access::readOnly);
    // The records keep only the program's own states: the switches that
    // mirror a system setting are read from the system here.
    if (!answered) {
        for (const auto& tweak : services.catalogue().allTweaks())
            if (core::asMToggle(*tweak) && tweak->isAvailable())
                tweak->refresh();
        services.finishBackgroundWork();
    }
    return cli::listTweaks(options, services.catalogue(), services.store(), std::cout, std::cerr);
}

int showJournal(bool json, bool allEntries) {
    platform::posix::StderrLog log;
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    cli::printJournal(platform::posix::FileJournal(paths.journal, log),
                      {.json = json, .withInput = allEntries}, std::cout);
    return 0;
}

// What happened to the tweak a command named. `wanted`: the state a switch
// asked for, which the tweak may have refused.
int reportTweak(const nlohmann::json& reply, const std::string& asked, const std::string& done,
                std::optional<bool> wanted = std::nullopt) {
    if (reply.value("found", true) == false) {
        // Scripts that call this keep working when a tweak is renamed.
        std::cerr << "quorvane: no such tweak \"" << asked << "\"\n";
        return 0;
    }
    if (reply.value("confirming", false)) {
        std::cout << "Quorvane asks you to confirm the link's request for \"" << asked << "\".\n";
        return 0;
    }
    if (reply.value("available", true) == false) {
        // Said on standard error, and not a success: nothing happened.
        std::cerr << "quorvane: " << asked << ": "
                  << reply.value("unavailable", std::string(core::notAvailableInThisBuild))
                  << "; nothing happened\n";
        return 1;
    }
    const auto outcome = answerText(reply, "outcome");
    const bool stayed =
        wanted && reply.contains("on") && reply["on"].is_boolean() && reply["on"] != *wanted;
    if (stayed || (!outcome.empty() && outcome != "done")) {
        const auto reason = answerText(reply, "reason");
        const auto alert = reply.find("alertShown");
        const bool alertShown = alert != reply.end() && alert->is_boolean() && alert->get<bool>();
        std::cerr << "quorvane: " << asked;
        if (stayed)
            std::cerr << " stayed " << (*wanted ? "off" : "on");
        std::cerr << ": " << (outcome == "unavailable" ? "not available" : "the tweak refused")
                  << (reason.empty() ? "" : ": " + reason)
                  << (alertShown ? " (its alert says why)" : "") << "; nothing happened\n";
        return 1;
    }
    // Said of the simulated Mac, so that nobody takes it for this desktop.
    std::cout << done << (answerText(reply, "actsOn") == "simulated" ? " (simulated Mac)" : "")
              << ".\n";
    return 0;
}

// A link's request says so, with the link, for the instance to ask first.
nlohmann::json fromLink(nlohmann::json request, const cli::CommandLine& command) {
    if (command.fromLink) {
        request["origin"] = "link";
        request["link"] = command.link;
    }
    return request;
}

int tweakCommand(const cli::CommandLine& command) {
    CommandClient client(std::cout, std::cerr);
    const std::string state = command.on ? " on" : " off";
    switch (command.action) {
        case cli::CommandLine::Action::runNamed:
            return client.send(
                fromLink({{"command", "runNamed"}, {"name", command.tweakName}}, command),
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakName, "Ran " + command.tweakName);
                });
        case cli::CommandLine::Action::toggleNamed:
            return client.send(
                fromLink(
                    {{"command", "toggleNamed"}, {"name", command.tweakName}, {"on", command.on}},
                    command),
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakName,
                                       "Switched " + command.tweakName + state, command.on);
                });
        case cli::CommandLine::Action::set:
            return client.send(
                {{"command", "set"}, {"id", command.tweakId}, {"on", command.on}},
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakId,
                                       "Switched " + command.tweakId + state, command.on);
                });
        default:
            std::cerr << "quorvane: not a tweak command\n";
            return 2;
    }
}

// Lists what can be put back, or puts it back: through the running
// instance, which stops a tweak that is on first, else here.
int restore(const cli::CommandLine& command) {
    CommandClient client(std::cout, std::cerr);
    const auto& options = command.restore;
    nlohmann::json request{{"command", "restore"},
                           {"list", options.list},
                           {"ids", options.entries},
                           {"all", options.all},
                           {"dryRun", options.dryRun},
                           {"force", options.force}};
    if (options.tweak)
        request["tweak"] = *options.tweak;
    if (options.since)
        request["since"] = *options.since;
    return client.send(request, [&](const nlohmann::json& reply) {
        if (options.list) {
            const auto entries = reply.value("entries", nlohmann::json::array());
            for (const auto& entry : entries) {
                if (command.json) {
                    std::cout << entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                              << "\n";
                    continue;
                }
                std::cout << "#" << entry.value("id", 0) << "  " << entry.value("time", "") << "  "
                          << entry.value("cause", "") << "  " << entry.value("kind", "") << "  "
                          << entry.value("target", "");
                // A deletion has no values to show: only that it is gone.
                if (entry.value("restorable", true))
                    std::cout << "  " << entry.value("before", "") << " → "
                              << entry.value("after", "");
                else
                    std::cout << "  (not restorable: " << entry.value("note", "") << ")";
                std::cout << "\n";
            }
            if (entries.empty() && !command.json)
                std::cout << "Nothing to put back.\n";
            return 0;
        }
        bool clean = true;
        const auto steps = reply.value("steps", nlohmann::json::array());
        if (steps.empty())
            std::cout << "Nothing to put back.\n";
        for (const auto& step : steps) {
            std::cout << step.value("line", "") << "\n";
            const auto result = step.value("result", "");
            clean = clean && (result == "restored" || result == "would restore");
        }
        // Anything left as it was (skipped, failed, not restorable) fails
        // the command, so a script sees it.
        return clean ? 0 : 1;
    });
}

int desktop(const cli::CommandLine& command) {
    CommandClient client(std::cout, std::cerr);
    if (command.watchSeconds > 0) {
        std::cerr << "Watching the input for " << command.watchSeconds << " s...\n";
        return client.send({{"command", "desktopWatch"}, {"seconds", command.watchSeconds}},
                           [&](const nlohmann::json& reply) {
                               for (const auto& event : reply.value("events", nlohmann::json::array()))
                                   std::cout << (command.json ? event.dump() : eventText(event))
                                             << "\n";
                               return 0;
                           });
    }
    return client.send({{"command", "desktop"}}, [&](const nlohmann::json& reply) {
        const auto snapshot = reply.value("snapshot", nlohmann::json::object());
        std::cout << (command.json ? snapshot.dump() + "\n" : desktopText(snapshot));
        return 0;
    });
}

// "displays" and "overlays": the instance's snapshot under `key`.
int snapshot(const cli::CommandLine& command, const char* key,
             std::string (*text)(const nlohmann::json&)) {
    return CommandClient(std::cout, std::cerr)
        .send({{"command", key}}, [&](const nlohmann::json& reply) {
            const auto shown = reply.value(key, nlohmann::json::object());
            std::cout << (command.json ? shown.dump() + "\n" : text(shown));
            return 0;
        });
}

int uninstallUserFiles() {
    const auto removed = removeUserFiles(platform::posix::XdgDirectories::current(), thisProgram());
    for (const auto& line : removed.removed)
        std::cout << "removed " << line << "\n";
    for (const auto& error : removed.errors)
        std::cerr << "quorvane: " << error << "\n";
    if (removed.removed.empty() && removed.errors.empty())
        std::cout << "Nothing of Quorvane's is in your desktop's folders.\n";
    return removed.errors.empty() ? 0 : 1;
}

int finderAction(const cli::CommandLine& command) {
    nlohmann::json paths = nlohmann::json::array();
    for (const auto& path : command.paths)
        paths.push_back(triggers::FinderActionMessage::encodePath(path));
    return CommandClient(std::cout, std::cerr)
        .send({{"command", "finderAction"}, {"actionId", command.actionId}, {"paths", paths}},
              [](const nlohmann::json&) { return 0; });
}

}  // namespace

int runCommandLine(const cli::CommandLine& command) {
    using Action = cli::CommandLine::Action;
    if (auto ran = simmac::runSimCommand(command))
        return *ran;
    switch (command.action) {
        case Action::help: {
            const auto text = cli::commandHelp(command.simWords);
            if (!text) {
                std::cerr << "quorvane: " << text.error().message << "\n";
                return 2;
            }
            std::cout << text.value();
            return 0;
        }
        case Action::version:
            std::cout << cli::versionText();
            return 0;
        case Action::uninstallUserFiles:
            return uninstallUserFiles();
        case Action::list:
            return listCatalogue(command.list);
        case Action::journal:
            return showJournal(command.json, command.allEntries);
        case Action::runNamed:
        case Action::toggleNamed:
        case Action::set:
            return tweakCommand(command);
        case Action::finderAction:
            return finderAction(command);
        case Action::restore:
            return restore(command);
        case Action::desktop:
            return desktop(command);
        case Action::displays:
            return snapshot(command, "displays", displaysText);
        case Action::overlays:
            return snapshot(command, "overlays", overlaysText);
        case Action::menuShortcuts:
            return snapshot(command, "menuShortcuts", menuShortcutsText);
        default:  // starting, and the simulated Mac's commands above
            break;
    }
    std::cerr << "quorvane: starting is not a command of its own\n";
    return 2;
}

}  // namespace quorvane::app
