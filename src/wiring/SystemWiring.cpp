#include "wiring/SystemWiring.hpp"

#include "wiring/AdapterChoicesWiring.hpp"
#include "wiring/InstallLayout.hpp"
#include "adapters/posix/XdgBrowsers.hpp"
#include "adapters/posix/XdgTrash.hpp"

#include <unistd.h>
#include "simmac/SimColorSampler.hpp"
#include "core/AppIdentity.hpp"
#include "system/SystemStates.hpp"
#include "system/SystemTweaks.hpp"

namespace quorvane::app {

namespace {

std::unique_ptr<platform::Browsers> chooseBrowsers(SharedServices& shared) {
    if (shared.desktop.isDesktopSession())
        return std::make_unique<platform::posix::XdgBrowsers>(
            platform::posix::XdgBrowsers::foldersFromEnvironment(shared.directories.configHome,
                                                                 shared.directories.dataHome));
    return std::make_unique<platform::sim::SimBrowsers>(shared.simHome.root(), &shared.journal);
}

}  // namespace

SystemWiring::SystemWiring(SharedServices& shared)
    : applications_(shared.desktop.applications()),
      volume_(shared.adapterChoices, shared.simHome.root(), shared.journal),
      bluetooth_(shared.adapterChoices, shared.simHome.root(), shared.journal),
      browsers_(chooseBrowsers(shared)),
      scripting_(shared.shell, shared.simHome, shared.journal, volume_),
      scriptRunner_(scripting_, shared.permissionAsker, shared.mainQueue,
                    shared.journal, shared.log, dataFolder(shared.program, "scripts")),
      services_{.store = shared.store,
                .defaults = shared.userDefaults,
                .scripts = scriptRunner_,
                .shell = shared.shell,
                .commands = commands_,
                .pasteboard = shared.pasteboard,
                .workspace = shared.workspace,
                .journal = shared.journal,
                .log = shared.log,
                .mainQueue = shared.mainQueue,
                .events = shared.systemEvents,
                .persistor = shared.persistor,
                .privileged = shared.privileged,
                .launcher = shared.launcher,
                .stops = stops_,
                .bundleIdentifier = std::string(core::bundleIdentifier),
                .homeDirectory = shared.simHome.homeDirectory().string(),
                .refreshAll = {},
                .toolFolder = shared.simHome.binDirectory(),
                .restoreLog = &shared.restoreLog,
                .switches = {&shared.changes, &states_}},
      preferenceRestore_(shared.shell) {
    system::addSystemStates(states_, services_, bluetooth_, *browsers_);
    services_.preferences = &preferenceRestore_;
    if (shared.desktop.isDesktopSession()) {
        services_.desktopSettings = &shared.desktopSettings;
        trash_ = std::make_unique<platform::posix::XdgTrash>(
            shared.directories.dataHome, &platform::posix::XdgTrash::mountedVolumeTops,
            ::getuid());
        services_.trash = trash_.get();
        services_.powerProfiles = &powerProfiles_;
        services_.screenSaver = &screenSaver_;
        services_.removableDisks = &removableDisks_;
        services_.systemPower = &systemPower_;
        desktopSettingRestore_ =
            std::make_unique<system::DesktopSettingRestore>(shared.desktopSettings);
        services_.desktopSettingRestore = desktopSettingRestore_.get();
        // The session's screen-saver service first: it knows what else
        // holds the screen on. The X server's own saver where none runs.
        sessionAwake_ = std::make_unique<system::SessionAwake>(
            std::vector<system::SessionAwake::Holder>{
                {"the screen saver service", [this] { return &screenSaver_; }},
                {"the X server",
                 [&x11 = shared.x11]() -> platform::AwakeHolder* {
                     return runsUnderWaylandCompositor() ? nullptr : x11.screenSaverSuspend();
                 }}},
            system::SessionAwake::Holder{"logind", [this] { return &systemPower_; }});
        services_.sessionAwake = sessionAwake_.get();
    }
    if (shared.desktop.simulated()) {
        colorSampler_ = std::make_unique<platform::sim::SimColorSampler>(
            shared.simHome, shared.journal, shared.mainQueue);
    } else {
        auto sampler = std::make_unique<platform::qt::QtColorSampler>(
            [&x11 = shared.x11, &queue = shared.mainQueue] { return x11.windowHolds(queue); });
        qtColorSampler_ = sampler.get();
        colorSampler_ = std::move(sampler);
    }
}

void SystemWiring::addTweaks(core::TweakFactory& factory) {
    system::addSystemTweaks(
        factory, services_,
        {.audio = audio_,
         .bluetooth = bluetooth_,
         .bluetoothHelper = bluetoothHelper_,
         .browsers = *browsers_,
         .browsersHelper = browsersHelper_,
         .powerHelper = powerHelper_,
         .colorSampler = *colorSampler_,
         .applications = applications_});
}

void SystemWiring::addWorkers(BackgroundDrain& drain) {
    drain.add(commands_);
    drain.add(audio_);
    drain.add(bluetoothHelper_);
    drain.add(browsersHelper_);
    drain.add(powerHelper_);
    if (auto* sampler = qtColorSampler_)
        drain.add(BackgroundDrain::Worker{"Color", [sampler] { sampler->waitUntilClosed(); },
                                          [sampler] { return !sampler->isOpen(); }});
    drain.add(scriptRunner_.executor());
}

void SystemWiring::setRefreshAll(std::function<void(core::Category)> refreshAll) {
    services_.refreshAll = std::move(refreshAll);
}

void SystemWiring::stop() {
    stops_.stopAll();
    // The helpers wait on the script runner: they stop first.
    audio_.stop();
    bluetoothHelper_.stop();
    browsersHelper_.stop();
    powerHelper_.stop();
    commands_.stop();
    scriptRunner_.executor().stop();
}

}  // namespace quorvane::app
