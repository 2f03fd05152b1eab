#include "wiring/AppServices.hpp"
#include "simmac/SimCameras.hpp"

#include "adapters/dbus/SessionEventSource.hpp"

#include <QCoreApplication>
#include <algorithm>
#include <utility>

#include "core/CanToggle.hpp"
#include "wiring/SharedServices.hpp"
#include "wiring/StartupTrace.hpp"
#include "wiring/SystemWiring.hpp"
#include "wiring/TextWiring.hpp"
#include "wiring/TriggersWiring.hpp"
#include "wiring/DisplayWiring.hpp"
#include "wiring/InputWiring.hpp"
#include "wiring/WindowTweaksWiring.hpp"
#include "wiring/WindowsWiring.hpp"
#include "adapters/dbus/SessionEventSource.hpp"
#include "adapters/posix/DesktopEntry.hpp"
#include "adapters/posix/FreeHeap.hpp"
#include "simmac/SimHotkeys.hpp"

namespace quorvane::app {

AppServices::AppServices(const platform::posix::XdgDirectories& directories, Access access)
    : shared_(std::make_unique<SharedServices>(
          directories, access == Access::readOnly ? SharedServices::Access::readOnly
                                                  : SharedServices::Access::readWrite)),
      system_(std::make_unique<SystemWiring>(*shared_)),
      triggers_(std::make_unique<TriggersWiring>(*shared_, *system_)),
      windows_(std::make_unique<WindowsWiring>(*shared_, shared_->desktop)),
      input_(std::make_unique<InputWiring>(*shared_, shared_->desktop, *windows_)),
      display_(std::make_unique<DisplayWiring>(
          *shared_, shared_->desktop, *windows_,
          [this](const std::string& name) { return hotkeys_ && hotkeys_->isActive(name); })),
      windowTweaks_(
          std::make_unique<WindowTweaksWiring>(*shared_, *windows_, *input_, *display_)),
      text_(std::make_unique<TextWiring>(*shared_, shared_->desktop, *input_)),
      factory_(makeFactory()),
      catalogue_(factory_, shared_->store, shared_->log, triggers_->scriptTasks()),
      tweaksHandler_(catalogue_),
      soundPlayer_(shared_->store, shared_->sound),
      tweakActions_(shared_->mainQueue, notifications_, soundPlayer_, shared_->intentDonations),
      workflows_(shared_->store, catalogue_, shared_->mainQueue),
      restore_(shared_->restoreLog, shared_->journal, shared_->log) {
    giveBackHeap_ = std::make_unique<core::Debouncer>(shared_->mainQueue, std::chrono::seconds(3));
    // However it was switched (a cell, the command line, a workflow).
    switchedOff_ = shared_->store.pState.subscribe(
        [this, was = shared_->store.pState.get()](const core::PState& now) mutable {
            const bool tornDown =
                std::any_of(core::pStateFields.begin(), core::pStateFields.end(),
                            [&](const auto& field) {
                                return field.keyPath.read(was) && !field.keyPath.read(now);
                            });
            was = now;
            if (tornDown)
                giveBackHeap_->call([] { platform::posix::giveBackFreeHeap(); });
        });
    restore_.addKind("preference", system_->preferenceRestore());
    restore_.addKind("system", system_->states());
    restore_.addKind("input", input_->states());
    restore_.addKind("display", display_->states());
    if (auto* desktopSettings = system_->desktopSettingRestore())
        restore_.addKind(system::DesktopSettingRestore::kind, *desktopSettings);
    restore_.addKind(core::switchKind, switchRestore_);
    shared_->store.switches = &shared_->changes;
    // A tweak still on is stopped the way its switch stops it, so its
    // state tells the truth once its changes are put back.
    restore_.setSwitchOff([this](const std::string& cause) {
        const auto tweak = catalogue_.find(cause);
        if (!tweak)
            return;
        const auto* toggle = core::asToggle(*tweak);
        if (!toggle || !toggle->isOn())
            return;
        (void)core::switchAndApply(*tweak, false, /*applyUnchanged=*/false);
        // Its stop writes on the workers: done before anything is put back,
        // or it would land over the restored value.
        drain_.drain([] { return std::size_t{0}; });
    });
    display_->services().holdsShortcuts = [this] { return hotkeys_ != nullptr; };
    system_->setRefreshAll(
        [this](core::Category category) { tweaksHandler_.refreshAll(category); });
    system_->addWorkers(drain_);
    input_->addWorkers(drain_);
    triggers_->addWorkers(drain_);
    text_->addWorkers(drain_);
}

AppServices::~AppServices() {
    for (const auto& step : stopSteps())
        step.run();
}

// One line per tweak folder, in the order of the layers.
core::TweakFactory AppServices::makeFactory() {
    core::TweakFactory factory;
    factory.useChoices(shared_->adapterChoices);
    system_->addTweaks(factory);
    triggers_->addTweaks(factory);
    display_->addTweaks(factory);
    windowTweaks_->addTweaks(factory);
    input_->addTweaks(factory, display_->overlays(),
                      [this]() -> const platform::Hotkeys* { return hotkeys_.get(); });
    text_->addTweaks(factory);
    return factory;
}

std::vector<LifecycleStep> AppServices::startSteps() {
    return {
        {"register quorvane: links",
         [this] {
             if (auto registered = platform::posix::registerUrlScheme(
                     shared_->directories.dataHome, shared_->directories.configHome,
                     shared_->program);
                 !registered)
                 shared_->log.warning("UrlScheme", registered.error().message);
         }},
        {"start triggers", [this] { triggers_->start(); }},
        {"follow the frontmost application", [this] { windows_->start(); }},
        {"restore colour settings a previous run left", [this] { display_->start(); }},
        {"restore mice's scrolling a previous run left", [this] { input_->start(); }},
        {"register shortcuts",
         [this] {
             if (!shortcuts_)
                 return;
             shortcuts_->registerAll();
             shortcuts_->reload();
         }},
        {"create the default workflow", [this] { workflows_.createDefaultWorkflowIfNeeded(); }},
        {"apply persisted toggles later",
         [this] {
             shared_->mainQueue.after(applyPersistedTogglesDelay,
                                      [this] { tweaksHandler_.applyPersistedToggles(); });
         }},
        // Last: its rules may name any tweak, and its observers act at once.
        {"start automation",
         [this] {
             automation_ = std::make_unique<core::AutomationManager>(
                 catalogue_, shared_->persistor, shared_->systemEvents, shared_->log);
         }},
    };
}

std::vector<LifecycleStep> AppServices::exitSteps() {
    return {
        {"reset tweaks", [this] { tweaksHandler_.resetOnTerminate(); }},
        {"save records", [this] { shared_->persistor.saveAll(); }},
    };
}

// Upper folders first: their work may wait on the folders below. Commands
// still running (a user's server script) end first, or stopping would wait
// for them.
std::vector<LifecycleStep> AppServices::stopSteps() {
    return {
        {"end running commands", [this] { shared_->shell.terminateRunning(); }},
        {"stop text", [this] { text_->stop(); }},
        {"stop displays", [this] { display_->stop(); }},
        {"stop input", [this] { input_->stop(); }},
        {"stop windows", [this] { windows_->stop(); }},
        {"stop triggers", [this] { triggers_->stop(); }},
        {"stop system", [this] { system_->stop(); }},
    };
}

void AppServices::start() {
    StartupTrace trace;
    for (const auto& step : startSteps()) {
        step.run();
        trace.mark(step.name);
    }
}

void AppServices::terminate() {
    for (const auto& step : exitSteps())
        step.run();
}

void AppServices::finishBackgroundWork() {
    drain_.drain([this] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return static_cast<std::size_t>(shared_->mainQueue.pendingPosts());
    });
}

void AppServices::watchSessionEvents(std::function<void(const std::string&)> tell) {
    auto watch = [this, tell = std::move(tell)] {
        if (std::exchange(sessionEventsWatched_, true))
            return;
        if (auto notice = startWatchingSessionEvents(); tell)
            tell(notice);
    };
    auto& events = shared_->systemEvents;
    const auto names = platform::dbus::SessionEventSource::reportedNames();
    const bool observed = std::any_of(names.begin(), names.end(), [&](std::string_view name) {
        return events.isObserved(std::string(name));
    });
    if (observed) {
        watch();
        return;
    }
    events.onFirstObserver([watch](const std::string& name) {
        if (platform::dbus::SessionEventSource::reports(name))
            watch();
    });
}

std::string AppServices::startWatchingSessionEvents() {
    constexpr const char* fallback =
        "Automation reacts only to the simulated Mac's events (quorvane sim post): ";
    if (qEnvironmentVariable("QUORVANE_SYSTEM_EVENTS") == QStringLiteral("simulated"))
        return std::string(fallback) + "QUORVANE_SYSTEM_EVENTS is \"simulated\".";
    // A missing bus is told apart before D-Bus tries it; with neither bus
    // there, D-Bus is not started at all (its thread and library cost
    // memory for nothing).
    const auto missing = platform::dbus::SessionEventSource::missingSystemBus({});
    if (missing) {
        if (const auto noSession = platform::dbus::SessionEventSource::missingSessionBus({})) {
            shared_->log.warning("SystemEvents", *missing);
            shared_->log.info("SystemEvents", *noSession);
            return fallback + *missing + ".";
        }
    }
    auto source = std::make_unique<platform::dbus::SessionEventSource>(
        platform::dbus::BusAddresses{
            .system = missing ? std::string("unix:path=/nonexistent/no-system-bus") : std::string(),
            .session = {}},
        [this](const std::string& name) { shared_->systemEvents.deliver(name, "Session"); },
        [this] { return drain_.idle(); }, shared_->log);
    if (auto started = source->start(); !started) {
        const std::string reason = missing ? *missing : started.error().message;
        shared_->log.warning("SystemEvents", reason);
        if (!source->watchesScreenSaver())
            return fallback + reason + ".";
        // The session's screen saver is still heard.
        sessionEvents_ = std::move(source);
        return "Automation hears the screen saver, and otherwise only the simulated Mac's events "
               "(quorvane sim post): " +
               reason + ".";
    }
    std::string notes;
    for (const auto& note : source->notes())
        notes += (notes.empty() ? "" : " ") + note + ".";
    sessionEvents_ = std::move(source);
    return notes;
}

void AppServices::watchPopups() {
    shared_->x11.watchPopups(shared_->mainQueue);
}

void AppServices::useSessionHotkeys() {
    if (auto session = shared_->x11.hotkeys(shared_->userDefaults)) {
        hotkeys_ = std::move(session);
    } else {
        shared_->log.info("Hotkeys", "no X11 session: shortcuts are pressed on the simulated Mac");
        hotkeys_ = std::make_unique<platform::sim::SimHotkeys>(shared_->userDefaults, shared_->log);
    }
    shortcuts_ = std::make_unique<core::ShortcutService>(catalogue_, *hotkeys_);
    triggers_->scriptTasks().setHotkeys(hotkeys_.get());
}

DesktopSession& AppServices::desktop() {
    return shared_->desktop;
}
windows::WindowsServices& AppServices::windowsServices() {
    return windows_->services();
}
input::InputServices& AppServices::inputServices() {
    return input_->services();
}
display::DisplayServices& AppServices::displayServices() {
    return display_->services();
}

platform::sim::SimCameras* AppServices::simulatedCameras() {
    return display_->simulatedCameras();
}

const AppPaths& AppServices::paths() const {
    return shared_->paths;
}
platform::MainQueue& AppServices::mainQueue() {
    return shared_->mainQueue;
}
platform::Journal& AppServices::journal() {
    return shared_->journal;
}
platform::Log& AppServices::log() {
    return shared_->log;
}
platform::UserDefaults& AppServices::userDefaults() {
    return shared_->userDefaults;
}
platform::LoginItems& AppServices::loginItems() {
    return shared_->loginItems;
}
platform::Updater& AppServices::updater() {
    return shared_->updater;
}
platform::Workspace& AppServices::workspace() {
    return shared_->workspace;
}
platform::ActivationPolicy& AppServices::activationPolicy() {
    return shared_->activationPolicy;
}
void AppServices::setPermissionPanel(platform::PermissionAsker* panel) {
    shared_->permissionAsker.panel = panel;
}
void AppServices::setOverlayPainter(platform::OverlayDescription::Content content,
                                    platform::qt::ContentPainter painter) {
    display_->setOverlayPainter(content, std::move(painter));
}

void AppServices::setShortcutSheetPanel(
    std::function<std::unique_ptr<input::ShortcutSheetView>(input::ShortcutSheetController&)> make) {
    input_->setShortcutSheetMaker(std::move(make));
}

void AppServices::setEmojiAliasPanel(std::function<std::unique_ptr<text::EmojiAliasView>()> make) {
    text_->setAliasPanelMaker(std::move(make));
}

void AppServices::setEmojiPicker(platform::StatusBar* statusBar,
                                 std::function<std::unique_ptr<text::EmojiPickerView>()> make,
                                 std::function<bool()> shown) {
    text_->setPickerFrontEnd(statusBar, std::move(make), std::move(shown));
}

text::EmojiTable& AppServices::emojiTable() {
    return text_->emojiTable();
}

void AppServices::setClearScreen(std::function<void()> clear) {
    text_->setClearScreen(std::move(clear));
}

void AppServices::setAlertPanel(platform::Alerts* panel) {
    shared_->alerts.panel = panel;
}
core::Persistor& AppServices::persistor() {
    return shared_->persistor;
}
core::Store& AppServices::store() {
    return shared_->store;
}
system::SystemServices& AppServices::systemServices() {
    return system_->services();
}
triggers::ScriptTaskService& AppServices::scriptTasks() {
    return triggers_->scriptTasks();
}
triggers::FileManagerSync& AppServices::fileManagers() {
    return triggers_->fileManagers();
}

triggers::FinderActionPerformer& AppServices::finderActions() {
    return triggers_->finderActions();
}
platform::SystemEventCenter& AppServices::systemEvents() {
    return shared_->systemEvents;
}
platform::sim::SimHotkeys* AppServices::simulatedKeyboard() {
    return dynamic_cast<platform::sim::SimHotkeys*>(hotkeys_.get());
}

}  // namespace quorvane::app
