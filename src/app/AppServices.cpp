#include "app/AppServices.hpp"

#include <QCoreApplication>

#include "core/AppIdentity.hpp"
#include "platform/posix/DesktopEntry.hpp"
#include "platform/sim/SimHotkeys.hpp"
#include "platform/x11/XcbHotkeys.hpp"

namespace quorvane::app {

namespace {

std::unique_ptr<platform::posix::FileBlobStore> openRecords(const std::filesystem::path& folder,
                                                            platform::Log& log) {
    auto opened = platform::posix::FileBlobStore::open(folder);
    if (opened)
        return std::move(opened.value());
    log.error("AppServices", "cannot open the records folder: " + opened.error().message);
    return nullptr;
}

const platform::sim::SimHome& prepared(const platform::sim::SimHome& home, platform::Log& log) {
    if (auto made = home.prepare(); !made)
        log.error("SimulatedMac",
                  "cannot prepare " + home.root().string() + ": " + made.error().message);
    return home;
}

std::filesystem::path thisProgram() {
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

// The stand-in `defaults` is built next to the program.
std::filesystem::path defaultsToolBesideProgram() {
    const auto program = thisProgram();
    if (program.empty())
        return {};
    const auto tool = program.parent_path() / "defaults";
    std::error_code error;
    return std::filesystem::exists(tool, error) ? tool : std::filesystem::path();
}

}  // namespace

AppPaths AppPaths::from(const platform::posix::XdgDirectories& directories) {
    AppPaths paths;
    paths.applicationSupport = directories.dataHome / core::bundleIdentifier;
    paths.records = paths.applicationSupport / core::recordsFolderName;
    paths.userDefaults = directories.configHome / core::bundleIdentifier / "UserDefaults.json";
    paths.journal = directories.stateHome / core::bundleIdentifier / "journal.jsonl";
    paths.simulatedMac = platform::sim::SimHome::defaultRoot(directories.dataHome);
    paths.cache = directories.cacheHome / core::bundleIdentifier;
    return paths;
}

AppServices::AppServices(const platform::posix::XdgDirectories& directories)
    : directories_(directories),
      paths_(AppPaths::from(directories)),
      userDefaults_(paths_.userDefaults, log_),
      records_(openRecords(paths_.records, log_)),
      persistor_(records_.get(), mainQueue_, log_),
      store_(userDefaults_, persistor_),
      journal_(paths_.journal, log_),
      simHome_(paths_.simulatedMac, defaultsToolBesideProgram()),
      shell_(prepared(simHome_, log_).commandEnvironment()),
      scripting_(shell_, simHome_, journal_),
      permissionAsker_(journal_),
      workspace_(&journal_),
      sound_(log_),
      intentDonations_(log_),
      systemEvents_(journal_),
      loginItems_(directories.configHome, thisProgram()),
      activationPolicy_(log_),
      scriptRunner_(scripting_, launcher_, permissionAsker_, mainQueue_, journal_, log_,
                    paths_.applicationSupport / "Scripts"),
      systemServices_{.scripts = scriptRunner_,
                      .shell = shell_,
                      .commands = commands_,
                      .pasteboard = pasteboard_,
                      .workspace = workspace_,
                      .journal = journal_,
                      .log = log_,
                      .mainQueue = mainQueue_,
                      .bundleIdentifier = std::string(core::bundleIdentifier),
                      .homeDirectory = simHome_.homeDirectory().string(),
                      .refreshAll = {}},
      alerts_(log_),
      scriptExecution_(shell_, scriptRunner_, mainQueue_, alerts_, journal_),
      scriptTasks_(persistor_, userDefaults_, scriptExecution_),
      finderActions_(pasteboard_, workspace_, journal_, log_),
      factory_(makeFactory()),
      catalogue_(factory_, store_, log_, scriptTasks_),
      tweaksHandler_(catalogue_),
      soundPlayer_(store_, sound_),
      tweakActions_(mainQueue_, notifications_, soundPlayer_, intentDonations_),
      workflows_(store_, catalogue_, mainQueue_) {
    systemServices_.refreshAll = [this](core::Category category) {
        tweaksHandler_.refreshAll(category);
    };
}

core::TweakFactory AppServices::makeFactory() {
    core::TweakFactory factory;
    system::addCommandTweaks(factory, systemServices_);
    system::addPreferenceTweaks(factory, systemServices_, store_);
    triggers::addFinderTweaks(factory);
    return factory;
}

void AppServices::useSessionHotkeys() {
    if (auto session = platform::x11::XcbHotkeys::connect(userDefaults_, log_)) {
        hotkeys_ = std::move(session);
    } else {
        log_.info("Hotkeys", "no X11 session: shortcuts are pressed on the simulated Mac");
        hotkeys_ = std::make_unique<platform::sim::SimHotkeys>(userDefaults_, log_);
    }
    shortcuts_ = std::make_unique<core::ShortcutService>(catalogue_, *hotkeys_);
    scriptTasks_.setHotkeys(hotkeys_.get());
}

void AppServices::start() {
    // Start-up runs in this order once the Store has loaded and the status
    // item exists. The steps of features still to come are named where they
    // go: the Services provider and the Finder-extension listener (file
    // actions); the appearance observer; then the shortcuts' press handlers;
    // the front-application observer (window tweaks); the default
    // "Favorite" workflow; the persisted toggles; last, the automation
    // manager and its system-event observers.
    // "quorvane:" links from other programs come to this program.
    if (auto registered = platform::posix::registerUrlScheme(
            directories_.dataHome, directories_.configHome, thisProgram());
        !registered)
        log_.warning("UrlScheme", registered.error().message);
    scriptTasks_.seedIfNeeded();
    if (shortcuts_) {
        shortcuts_->registerAll();
        shortcuts_->reload();
    }
    workflows_.createDefaultWorkflowIfNeeded();
    mainQueue_.after(applyPersistedTogglesDelay,
                     [this] { tweaksHandler_.applyPersistedToggles(); });
    automation_ =
        std::make_unique<core::AutomationManager>(catalogue_, persistor_, systemEvents_, log_);
}

void AppServices::finishBackgroundWork() {
    // Work hops between the executors and the main queue (a command's
    // result is posted back, which may start the next): go round until a
    // whole round finds all three empty.
    for (;;) {
        commands_.waitUntilIdle();
        scriptExecution_.waitUntilIdle();
        scriptRunner_.waitUntilIdle();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (mainQueue_.pendingPosts() == 0 && commands_.isIdle() && scriptExecution_.isIdle() &&
            scriptRunner_.isIdle())
            return;
    }
}

void AppServices::terminate() {
    tweaksHandler_.resetOnTerminate();
    persistor_.saveAll();
}

}  // namespace quorvane::app
