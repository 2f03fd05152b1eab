#include "wiring/SharedServices.hpp"

#include "wiring/AdapterChoicesWiring.hpp"

#include "wiring/InstallLayout.hpp"

#include "simmac/SimWindowServer.hpp"

#include "core/AppIdentity.hpp"
#include "adapters/posix/ControlSocket.hpp"

namespace quorvane::app {

namespace {

std::unique_ptr<platform::posix::FileBlobStore> openRecords(const std::filesystem::path& folder,
                                                            SharedServices::Access access,
                                                            platform::Log& log) {
    if (access == SharedServices::Access::readOnly)
        return platform::posix::FileBlobStore::openReadOnly(folder);
    auto opened = platform::posix::FileBlobStore::open(folder);
    if (opened)
        return std::move(opened.value());
    log.error("AppServices", "cannot open the records folder: " + opened.error().message);
    return nullptr;
}

const platform::sim::SimHome& prepared(const platform::sim::SimHome& home,
                                       SharedServices::Access access, platform::Log& log) {
    if (access == SharedServices::Access::readOnly)
        return home;
    if (auto made = home.prepare(); !made)
        log.error("SimulatedMac",
                  "cannot prepare " + home.root().string() + ": " + made.error().message);
    return home;
}

}  // namespace

AppPaths AppPaths::from(const platform::posix::XdgDirectories& directories) {
    AppPaths paths;
    paths.applicationSupport = directories.dataHome / core::bundleIdentifier;
    paths.records = paths.applicationSupport / core::recordsFolderName;
    paths.userDefaults = directories.configHome / core::bundleIdentifier / "UserDefaults.json";
    paths.journal = directories.stateHome / core::bundleIdentifier / "journal.jsonl";
    paths.restoreLog = paths.journal.parent_path() / "restore.json";
    paths.simulatedMac = platform::sim::SimHome::defaultRoot(directories.dataHome);
    paths.cache = directories.cacheHome / core::bundleIdentifier;
    return paths;
}

platform::Result<std::filesystem::path> controlSocketFor(
    const platform::posix::XdgDirectories& directories) {
    return platform::posix::privateControlSocketPath(
        directories.runtimeDir, directories.stateHome / core::bundleIdentifier / "run");
}

SharedServices::SharedServices(const platform::posix::XdgDirectories& xdg, Access access)
    : accessMode(access),
      directories(xdg),
      paths(AppPaths::from(xdg)),
      program(thisProgram()),
      // A run that only shows something reads a great deal (every mirrored
      // switch's setting, say): what it finds in passing is not news.
      log(access == Access::readOnly ? platform::LogLevel::warning : platform::LogLevel::info),
      userDefaults(paths.userDefaults, log, access == Access::readOnly),
      records(openRecords(paths.records, access, log)),
      persistor(records.get(), mainQueue, log),
      store(userDefaults, persistor),
      journal(paths.journal, log),
      restoreLog(paths.restoreLog, log),
      changes(&restoreLog, log),
      simHome(paths.simulatedMac, helperFile(program, "defaults"), helperFile(program, "simtools")),
      shell(prepared(simHome, access, log).commandEnvironment()),
      launcher(mainQueue, simHome.commandEnvironment()),
      privileged(simHome, journal),
      permissionAsker(journal),
      alerts(log),
      workspace(&journal),
      x11(log, QString::fromStdString(helperFile(program, "libquorvane_x11.so").string())),
      desktop(journal, simPasteboard, mainQueue, log,
              access == Access::readOnly ? std::filesystem::path()
                                         : paths.simulatedMac / "displays.json",
              &x11),
      pasteboard(desktop.simulated() ? static_cast<platform::Pasteboard&>(simPasteboard)
                                     : qtPasteboard),
      desktopSettings(log,
                      QString::fromStdString(helperFile(program, "libquorvane_gio.so").string())),
      sound(log, helperFile(program, "quorvane-sound")),
      intentDonations(log),
      systemEvents(journal),
      loginItems(xdg.configHome, program),
      activationPolicy(log) {
    reportAdapterChoices(adapterChoices, desktop.kind(), desktopSettings);
    // Applications the workspace launches join the simulated desktop's.
    if (auto* simulated = desktop.simulated())
        // It may launch from a worker; the desktop lives on the main thread.
        workspace.launched = [simulated, this](const std::string& name) {
            mainQueue.post([simulated, name] {
                platform::sim::SimDesktopCommand launch{
                    .kind = platform::sim::SimDesktopCommand::Kind::launchApp, .name = name};
                [[maybe_unused]] auto ignored = simulated->perform(launch);  // already running
            });
        };
}

std::unique_ptr<platform::BlobStore> SharedServices::openStateStore(const std::string& user) {
    if (accessMode == Access::readOnly)
        return nullptr;
    auto opened = platform::posix::FileBlobStore::open(paths.journal.parent_path());
    if (!opened) {
        log.warning(user, opened.error().message);
        return nullptr;
    }
    return std::move(opened.value());
}

}  // namespace quorvane::app
