#include "app/CommandLineTool.hpp"

#include <iostream>
#include <optional>
#include <sstream>
#include <nlohmann/json.hpp>

#include "app/AppServices.hpp"
#include "app/CommandClient.hpp"
#include "app/DesktopCommands.hpp"
#include "app/DisplayCommands.hpp"
#include "app/DisplayWiring.hpp"
#include "app/InProcessInstance.hpp"
#include "app/InputCommands.hpp"
#include "cli/HelpText.hpp"
#include "cli/JournalCommand.hpp"
#include "core/Tweak.hpp"
#include "cli/ListCommand.hpp"
#include "platform/posix/FileJournal.hpp"
#include "platform/posix/StderrLog.hpp"
#include "platform/sim/SimDesktopPicture.hpp"
#include "platform/sim/SimHidSystem.hpp"
#include "platform/sim/SimBluetooth.hpp"
#include "platform/sim/SimBrowsers.hpp"
#include "system/browsers/BrowserTable.hpp"
#include "platform/sim/SimSoundVolume.hpp"
#include "platform/sim/SimHome.hpp"
#include "platform/sim/SimPower.hpp"
#include "triggers/finder/FinderActions.hpp"

namespace quorvane::app {

namespace {

// Lists the catalogue as this build has it (which tweaks are available)
// with the user's own scripts, without a display and without writing the
// user's records.
int listCatalogue(cli::ListOptions options) {
    // The running instance knows its desktop: what it cannot do there, it
    // says. Without one, this process's own catalogue answers alone.
    std::ostringstream quiet;
    (void)CommandClient(quiet, quiet).send({{"command", "list"}}, [&](const nlohmann::json& reply) {
        for (const auto& tweak : reply.value("tweaks", nlohmann::json::array()))
            if (tweak.is_object() && tweak.value("unavailable", nlohmann::json()).is_string())
                options.sessionUnavailable[tweak.value("id", "")] =
                    tweak["unavailable"].get<std::string>();
        return 0;
    });
    HeadlessApplication application;

    AppServices services(platform::posix::XdgDirectories::current(), AppServices::Access::readOnly);
    return cli::listTweaks(options, services.catalogue(), services.store(), std::cout, std::cerr);
}

int showJournal(bool json) {
    platform::posix::StderrLog log;
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    cli::printJournal(platform::posix::FileJournal(paths.journal, log), json, std::cout);
    return 0;
}

int setAdminPrompt(bool approves) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    auto saved = platform::sim::SimHome(paths.simulatedMac).setAdminPromptApproves(approves);
    if (!saved) {
        std::cerr << "quorvane: " << saved.error().message << "\n";
        return 1;
    }
    std::cout << "The simulated Mac now " << (approves ? "approves" : "cancels")
              << " administrator prompts.\n";
    return 0;
}

// What happened to the tweak a command named. `wanted`: the state a switch
// asked for, which the tweak may have refused (and said why in an alert).
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
    if (wanted && reply.contains("on") && reply["on"].is_boolean() && reply["on"] != *wanted) {
        std::cerr << "quorvane: " << asked << " stayed " << (*wanted ? "off" : "on")
                  << ": the tweak refused (its alert says why)\n";
        return 1;
    }
    std::cout << done << "\n";
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
    const std::string state = command.on ? " on." : " off.";
    switch (command.action) {
        case cli::CommandLine::Action::runNamed:
            return client.send(
                fromLink({{"command", "runNamed"}, {"name", command.tweakName}}, command),
                [&](const auto& reply) {
                    return reportTweak(reply, command.tweakName, "Ran " + command.tweakName + ".");
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
            return client.send({{"command", "post"}, {"name", command.eventName}},
                              [&](const nlohmann::json& reply) {
                                  const int observers = reply.value("observers", 0);
                                  std::cout << "Posted " << command.eventName << " (" << observers
                                            << (observers == 1 ? " observer)\n" : " observers)\n");
                                  return 0;
                              });
    }
}

int setGrant(const std::string& permission, bool granted) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    const auto which = permission == "accessibility" ? platform::Permission::accessibility
                                                     : platform::Permission::screenRecording;
    if (auto saved = platform::sim::SimHome(paths.simulatedMac).setGranted(which, granted);
        !saved) {
        std::cerr << "quorvane: " << saved.error().message << "\n";
        return 1;
    }
    std::cout << "The simulated Mac has " << (granted ? "granted " : "revoked ")
              << platform::title(which) << " permission.\n";
    return 0;
}

int simHid(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    platform::sim::SimHidSystem hid(paths.simulatedMac);
    platform::Status done = platform::success();
    if (!words.empty() && words[0] == "set")
        done = hid.force(words[1], std::stoll(words[2]));
    else if (!words.empty() && words[0] == "fail")
        done = hid.setFailure(words[1]);
    if (!done) {
        std::cerr << "quorvane: " << done.error().message << "\n";
        return 1;
    }
    std::cout << hid.describe();
    return 0;
}

int simVolume(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    platform::posix::StderrLog log;
    platform::posix::FileJournal journal(paths.journal, log);
    platform::sim::SimSoundVolume volume(paths.simulatedMac, &journal);
    if (words.size() == 2) {
        const auto channel = words[0] == "output" ? platform::SoundVolume::Channel::output
                                                  : platform::SoundVolume::Channel::input;
        if (auto set = volume.setVolume(channel, std::stoi(words[1])); !set) {
            std::cerr << "quorvane: " << set.error().message << "\n";
            return 1;
        }
    }
    std::cout << volume.describe();
    return 0;
}

int simBluetooth(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    platform::sim::SimBluetooth bluetooth(paths.simulatedMac);
    if (!words.empty())
        if (auto set = bluetooth.force(words[0]); !set) {
            std::cerr << "quorvane: " << set.error().message << "\n";
            return 1;
        }
    std::cout << bluetooth.describe();
    return 0;
}

int simPower(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    const platform::sim::SimPower power(paths.simulatedMac);
    if (!words.empty())
        // The state is files anyone may have edited: bytes that are not
        // UTF-8 are replaced, not fatal.
        std::cout << power.toJson().dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                  << "\n";
    else
        std::cout << power.describe() << "\n";
    return 0;
}

int simColor(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    const platform::sim::SimHome home(paths.simulatedMac);
    if (!words.empty())
        if (auto set = home.setSampledColor(platform::parseHexColor(words[0])); !set) {
            std::cerr << "quorvane: " << set.error().message << "\n";
            return 1;
        }
    const auto color = home.sampledColor();
    std::cout << "The simulated colour sampler "
              << (color ? "picks " + platform::hexText(*color) : std::string("is cancelled"))
              << " next.\n";
    return 0;
}

int simBrowser(const std::vector<std::string>& words) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    platform::sim::SimBrowsers browsers(paths.simulatedMac);
    if (!words.empty()) {
        const auto* browser = system::findBrowser(words[1]);
        if (!browser) {
            std::cerr << "quorvane: \"" << words[1] << "\" is not a browser Quorvane knows\n";
            return 1;
        }
        const std::string bundle(browser->bundleIdentifier);
        if (auto done = words[0] == "install" ? browsers.install(bundle) : browsers.remove(bundle);
            !done) {
            std::cerr << "quorvane: " << done.error().message << "\n";
            return 1;
        }
    }
    const auto http = browsers.defaultFor("http");
    const auto https = browsers.defaultFor("https");
    for (const auto& bundle : browsers.installed()) {
        const auto* browser = system::findBrowser(bundle);
        std::cout << (browser ? std::string(browser->title) : bundle);
        if (bundle == http || bundle == https)
            std::cout << " (opens " << (bundle == http ? "http" : "")
                      << (bundle == http && bundle == https ? " and " : "")
                      << (bundle == https ? "https" : "") << " links)";
        std::cout << "\n";
    }
    if (browsers.installed().empty())
        std::cout << "No browser is installed.\n";
    return 0;
}

int simPress(const std::string& combination) {
    return CommandClient(std::cout, std::cerr)
        .send({{"command", "press"}, {"combination", combination}},
              [&](const nlohmann::json& reply) {
                  std::cout << "Pressed " << combination
                            << (reply.value("taken", false) ? "\n" : " (no shortcut has it)\n");
                  return 0;
              });
}

// The simulated Mac's desktop picture lives in its folder: no instance needed.
int simDesktopPicture(const cli::CommandLine& command) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    platform::posix::StderrLog log;
    platform::posix::FileJournal journal(paths.journal, log);
    platform::sim::SimDesktopPicture picture(journal, paths.simulatedMac, defaultDesktopPicture);
    if (!command.paths.empty())
        if (auto set = picture.setPicture("main", command.paths.front()); !set) {
            std::cerr << "quorvane: " << set.error().message << "\n";
            return 1;
        }
    auto shown = picture.pictureOf("main");
    if (!shown) {
        std::cerr << "quorvane: " << shown.error().message << "\n";
        return 1;
    }
    std::cout << "The simulated Mac's desktop picture is " << shown.value() << "\n";
    return 0;
}

// The screenshot tool's stand-in reads the picture from the simulated Mac's
// folder: no instance needed.
int simCapture(const cli::CommandLine& command) {
    const auto paths = AppPaths::from(platform::posix::XdgDirectories::current());
    std::optional<std::filesystem::path> picture;
    if (!command.paths.empty())
        picture = command.paths.front();
    if (auto set = platform::sim::SimHome(paths.simulatedMac).setCapturePicture(picture); !set) {
        std::cerr << "quorvane: " << set.error().message << "\n";
        return 1;
    }
    if (picture)
        std::cout << "The simulated screenshot tool captures " << picture->string() << " next.\n";
    else
        std::cout << "The simulated screenshot tool's next selection is cancelled.\n";
    return 0;
}

int simDesktop(const std::vector<std::string>& words) {
    return CommandClient(std::cout, std::cerr)
        .send({{"command", "sim"}, {"words", words}}, [](const nlohmann::json& reply) {
            std::cout << reply.value("output", std::string());
            return 0;
        });
}

int simCamera(const std::vector<std::string>& words) {
    return CommandClient(std::cout, std::cerr)
        .send({{"command", "simCamera"}, {"words", words}}, [](const nlohmann::json& reply) {
            std::cout << reply.value("output", std::string());
            return 0;
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
        case Action::list:
            return listCatalogue(command.list);
        case Action::journal:
            return showJournal(command.json);
        case Action::simAdmin:
            return setAdminPrompt(command.adminApproves);
        case Action::simGrant:
            return setGrant(command.permission, command.on);
        case Action::simHid:
            return simHid(command.simWords);
        case Action::simVolume:
            return simVolume(command.simWords);
        case Action::simBluetooth:
            return simBluetooth(command.simWords);
        case Action::simBrowser:
            return simBrowser(command.simWords);
        case Action::simPower:
            return simPower(command.simWords);
        case Action::simColor:
            return simColor(command.simWords);
        case Action::runNamed:
        case Action::toggleNamed:
        case Action::set:
        case Action::simPost:
            return tweakCommand(command);
        case Action::simPress:
            return simPress(command.eventName);
        case Action::finderAction:
            return finderAction(command);
        case Action::simDesktop:
            return simDesktop(command.simWords);
        case Action::simCamera:
            return simCamera(command.simWords);
        case Action::simDesktopPicture:
            return simDesktopPicture(command);
        case Action::simCapture:
            return simCapture(command);
        case Action::desktop:
            return desktop(command);
        case Action::displays:
            return snapshot(command, "displays", displaysText);
        case Action::overlays:
            return snapshot(command, "overlays", overlaysText);
        case Action::menuShortcuts:
            return snapshot(command, "menuShortcuts", menuShortcutsText);
        case Action::start:
            break;
    }
    std::cerr << "quorvane: starting is not a command of its own\n";
    return 2;
}

}  // namespace quorvane::app
