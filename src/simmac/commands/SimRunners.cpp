#include "simmac/commands/SimRunners.hpp"

#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "adapters/posix/FileJournal.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "adapters/posix/XdgDirectories.hpp"
#include "control/CommandClient.hpp"
#include "platform/ColorSampler.hpp"
#include "simmac/SimBluetooth.hpp"
#include "simmac/SimBrowsers.hpp"
#include "simmac/SimDesktopPicture.hpp"
#include "simmac/SimHidSystem.hpp"
#include "simmac/SimHome.hpp"
#include "simmac/SimPower.hpp"
#include "simmac/SimSoundVolume.hpp"
#include "system/browsers/BrowserTable.hpp"
#include "wiring/AppPaths.hpp"
#include "wiring/DisplayWiring.hpp"

namespace quorvane::simmac {

namespace {

using app::AppPaths;
using app::CommandClient;
using app::defaultDesktopPicture;

int failed(const platform::Error& error) {
    std::cerr << "quorvane: " << error.message << "\n";
    return 1;
}

int setAdminPrompt(const AppPaths& paths, bool approves) {
    auto saved = platform::sim::SimHome(paths.simulatedMac).setAdminPromptApproves(approves);
    if (!saved)
        return failed(saved.error());
    std::cout << "The simulated Mac now " << (approves ? "approves" : "cancels")
              << " administrator prompts.\n";
    return 0;
}

int simPost(const std::string& name) {
    return CommandClient(std::cout, std::cerr)
        .send({{"command", "post"}, {"name", name}}, [&](const nlohmann::json& reply) {
            const int observers = reply.value("observers", 0);
            std::cout << "Posted " << name << " (" << observers
                      << (observers == 1 ? " observer)\n" : " observers)\n");
            return 0;
        });
}

int setGrant(const AppPaths& paths, const std::string& permission, bool granted) {
    const auto which = permission == "accessibility" ? platform::Permission::accessibility
                                                     : platform::Permission::screenRecording;
    if (auto saved = platform::sim::SimHome(paths.simulatedMac).setGranted(which, granted); !saved)
        return failed(saved.error());
    std::cout << "The simulated Mac has " << (granted ? "granted " : "revoked ")
              << platform::title(which) << " permission.\n";
    return 0;
}

int simHid(const AppPaths& paths, const std::vector<std::string>& words) {
    platform::sim::SimHidSystem hid(paths.simulatedMac);
    platform::Status done = platform::success();
    if (!words.empty() && words[0] == "set")
        done = hid.force(words[1], std::stoll(words[2]));
    else if (!words.empty() && words[0] == "fail")
        done = hid.setFailure(words[1]);
    if (!done)
        return failed(done.error());
    std::cout << hid.describe();
    return 0;
}

int simVolume(const AppPaths& paths, const std::vector<std::string>& words) {
    platform::posix::StderrLog log;
    platform::posix::FileJournal journal(paths.journal, log);
    platform::sim::SimSoundVolume volume(paths.simulatedMac, &journal);
    if (words.size() == 2) {
        const auto channel = words[0] == "output" ? platform::SoundVolume::Channel::output
                                                  : platform::SoundVolume::Channel::input;
        if (auto set = volume.setVolume(channel, std::stoi(words[1])); !set)
            return failed(set.error());
    }
    std::cout << volume.describe();
    return 0;
}

int simBluetooth(const AppPaths& paths, const std::vector<std::string>& words) {
    platform::sim::SimBluetooth bluetooth(paths.simulatedMac);
    if (!words.empty())
        if (auto set = bluetooth.force(words[0]); !set)
            return failed(set.error());
    std::cout << bluetooth.describe();
    return 0;
}

int simPower(const AppPaths& paths, const std::vector<std::string>& words) {
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

int simColor(const AppPaths& paths, const std::vector<std::string>& words) {
    const platform::sim::SimHome home(paths.simulatedMac);
    if (!words.empty())
        if (auto set = home.setSampledColor(platform::parseHexColor(words[0])); !set)
            return failed(set.error());
    const auto color = home.sampledColor();
    std::cout << "The simulated colour sampler "
              << (color ? "picks " + platform::hexText(*color) : std::string("is cancelled"))
              << " next.\n";
    return 0;
}

int simBrowser(const AppPaths& paths, const std::vector<std::string>& words) {
    platform::sim::SimBrowsers browsers(paths.simulatedMac);
    if (!words.empty()) {
        const auto* browser = system::findBrowser(words[1]);
        if (!browser) {
            std::cerr << "quorvane: \"" << words[1] << "\" is not a browser Quorvane knows\n";
            return 1;
        }
        const std::string bundle(browser->bundleIdentifier);
        if (auto done = words[0] == "install" ? browsers.install(bundle) : browsers.remove(bundle);
            !done)
            return failed(done.error());
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
int simDesktopPicture(const AppPaths& paths, const cli::CommandLine& command) {
    platform::posix::StderrLog log;
    platform::posix::FileJournal journal(paths.journal, log);
    platform::sim::SimDesktopPicture picture(journal, paths.simulatedMac, defaultDesktopPicture);
    if (!command.paths.empty())
        if (auto set = picture.setPicture("main", command.paths.front()); !set)
            return failed(set.error());
    auto shown = picture.pictureOf("main");
    if (!shown)
        return failed(shown.error());
    std::cout << "The simulated Mac's desktop picture is " << shown.value() << "\n";
    return 0;
}

// The screenshot tool's stand-in reads the picture from the simulated Mac's
// folder: no instance needed.
int simCapture(const AppPaths& paths, const cli::CommandLine& command) {
    std::optional<std::filesystem::path> picture;
    if (!command.paths.empty())
        picture = command.paths.front();
    if (auto set = platform::sim::SimHome(paths.simulatedMac).setCapturePicture(picture); !set)
        return failed(set.error());
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

}  // namespace

std::optional<int> runSimCommand(const cli::CommandLine& command) {
    using Action = cli::CommandLine::Action;
    // Read only by the commands about the simulated Mac's folder.
    auto paths = [] { return AppPaths::from(platform::posix::XdgDirectories::current()); };
    switch (command.action) {
        case Action::simAdmin:
            return setAdminPrompt(paths(), command.adminApproves);
        case Action::simGrant:
            return setGrant(paths(), command.permission, command.on);
        case Action::simHid:
            return simHid(paths(), command.simWords);
        case Action::simVolume:
            return simVolume(paths(), command.simWords);
        case Action::simBluetooth:
            return simBluetooth(paths(), command.simWords);
        case Action::simBrowser:
            return simBrowser(paths(), command.simWords);
        case Action::simPower:
            return simPower(paths(), command.simWords);
        case Action::simColor:
            return simColor(paths(), command.simWords);
        case Action::simPost:
            return simPost(command.eventName);
        case Action::simPress:
            return simPress(command.eventName);
        case Action::simDesktop:
            return simDesktop(command.simWords);
        case Action::simCamera:
            return simCamera(command.simWords);
        case Action::simDesktopPicture:
            return simDesktopPicture(paths(), command);
        case Action::simCapture:
            return simCapture(paths(), command);
        default:
            return std::nullopt;
    }
}

}  // namespace quorvane::simmac
