#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "wiring/AppPaths.hpp"
#include "wiring/BackgroundDrain.hpp"
#include "core/SoundPlayer.hpp"
#include "core/TweakActions.hpp"
#include "core/Debouncer.hpp"
#include "core/TweakNotifications.hpp"
#include "core/TweaksHandler.hpp"
#include "core/automation/AutomationManager.hpp"
#include "core/catalogue/Catalogue.hpp"
#include "core/shortcuts/ShortcutService.hpp"
#include "core/restore/RestoreService.hpp"
#include "core/restore/SwitchRestore.hpp"
#include "core/workflows/WorkflowService.hpp"
#include "platform/ActivationPolicy.hpp"
#include "platform/Alerts.hpp"
#include "platform/HotkeyRegistry.hpp"
#include "platform/Journal.hpp"
#include "platform/LoginItems.hpp"
#include "platform/PermissionAsker.hpp"
#include "platform/Updater.hpp"
#include "platform/Workspace.hpp"
#include "platform/StatusBar.hpp"
#include "adapters/qt/QtOverlays.hpp"
#include "input/shortcuts/ShortcutSheetView.hpp"
#include "text/emoji/EmojiAliasView.hpp"
#include "text/emoji/EmojiPickerView.hpp"
#include "text/emoji/EmojiTable.hpp"

namespace quorvane::platform {
class SystemEventCenter;
}
namespace quorvane::platform::dbus {
class SessionEventSource;
}
namespace quorvane::platform::sim {
class SimHotkeys;
class SimCameras;
}  // namespace quorvane::platform::sim
namespace quorvane::system {
struct SystemServices;
}
namespace quorvane::windows {
struct WindowsServices;
}
namespace quorvane::input {
struct InputServices;
}
namespace quorvane::display {
struct DisplayServices;
}
namespace quorvane::triggers {
class ScriptTaskService;
class FinderActionPerformer;
class FileManagerSync;
}  // namespace quorvane::triggers

namespace quorvane::app {

struct SharedServices;
class SystemWiring;
class TriggersWiring;
class WindowsWiring;
class InputWiring;
class WindowTweaksWiring;
class DisplayWiring;
class TextWiring;
class DesktopSession;

// The composition root: the one place that picks adapters. It owns the
// services every folder shares, one wiring unit per tweak folder (that
// folder's adapters, services, executors, start and stop), and the core
// built over them. Everything it builds sees only ports. Construct after
// the Qt application object, on the main thread.
class AppServices {
  public:
    // Read-only services are for commands that only show things: they load
    // the records and change no file.
    enum class Access { readWrite, readOnly };

    explicit AppServices(const platform::posix::XdgDirectories& directories,
                         Access access = Access::readWrite);
    ~AppServices();
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    const AppPaths& paths() const;
    platform::MainQueue& mainQueue();
    platform::Journal& journal();
    platform::Log& log();
    platform::UserDefaults& userDefaults();
    platform::LoginItems& loginItems();
    platform::Updater& updater();
    platform::Workspace& workspace();
    platform::ActivationPolicy& activationPolicy();
    // The front end's panels, once they exist.
    void setPermissionPanel(platform::PermissionAsker* panel);
    void setAlertPanel(platform::Alerts* panel);
    // How the front end clears the screen of our windows (minimised, the
    // popover closed) before the user chooses a region of it.
    void setClearScreen(std::function<void()> clear);
    // The emoji picker's status bar (none: the simulated menu bar when the
    // desktop is simulated) and popover, and whether that bar shows items
    // now (a tray host is there); none at exit.
    void setEmojiPicker(platform::StatusBar* statusBar,
                        std::function<std::unique_ptr<text::EmojiPickerView>()> make,
                        std::function<bool()> shown = {});
    // The emoji table, loaded on first use.
    text::EmojiTable& emojiTable();
    // Who draws a kind of overlay content the front end owns (key caps).
    void setOverlayPainter(platform::OverlayDescription::Content content,
                           platform::qt::ContentPainter painter);
    // How the front end makes the emoji shortcode panel.
    // The shortcut sheet's panel.
    void setShortcutSheetPanel(
        std::function<std::unique_ptr<input::ShortcutSheetView>(input::ShortcutSheetController&)> make);
    void setEmojiAliasPanel(std::function<std::unique_ptr<text::EmojiAliasView>()> make);
    core::Persistor& persistor();
    core::Store& store();
    const core::Catalogue& catalogue() const { return catalogue_; }
    core::TweaksHandler& tweaksHandler() { return tweaksHandler_; }
    core::TweakActions& tweakActions() { return tweakActions_; }
    core::TweakNotifications& notifications() { return notifications_; }
    core::WorkflowService& workflows() { return workflows_; }
    // Puts back what the tweaks changed, from the restore log.
    core::RestoreService& restore() { return restore_; }
    system::SystemServices& systemServices();
    triggers::ScriptTaskService& scriptTasks();
    triggers::FinderActionPerformer& finderActions();
    triggers::FileManagerSync& fileManagers();
    // The desktop the window and input tweaks act on, and their services.
    DesktopSession& desktop();
    windows::WindowsServices& windowsServices();
    input::InputServices& inputServices();
    display::DisplayServices& displayServices();
    // The simulated Mac's cameras, when its desktop is the one in use.
    platform::sim::SimCameras* simulatedCameras();
    // Where system events reach their observers: `quorvane sim post` on
    // any host, and the session's own events once they are watched (see
    // watchSessionEvents()).
    platform::SystemEventCenter& systemEvents();
    // Exists once start() has run.
    core::AutomationManager* automation() { return automation_.get(); }
    // The session's global hotkeys, once useSessionHotkeys() has chosen them.
    platform::Hotkeys* hotkeys() { return hotkeys_.get(); }
    core::ShortcutService* shortcuts() { return shortcuts_.get(); }
    // The simulated Mac's keyboard, when shortcuts live there.
    platform::sim::SimHotkeys* simulatedKeyboard();

    // For the program with its windows: global shortcuts are grabbed in the
    // X11 session when there is one, else on the simulated Mac's keyboard.
    // Commands run without windows leave the session's keys alone.
    void useSessionHotkeys();
    // For the program with its windows: every popup it opens (and Qt grabs
    // the input for) is watched like the tweaks' own grabs, so a stopped
    // main thread never keeps the keyboard and the pointer.
    void watchPopups();
    // For the program with its windows: sleep, wake, power-off, lock and
    // the screen saver reported by logind and the screen saver on D-Bus,
    // watched from the moment something (an automation rule) observes one
    // of them; until then D-Bus is not started. Without the system bus (or
    // with QUORVANE_SYSTEM_EVENTS=simulated) automation follows the
    // simulated Mac's events only. `tell` is given what a person should
    // know about that, for the Activity page, once watching starts.
    void watchSessionEvents(std::function<void(const std::string& notice)> tell);

    // Start-up once the Store has loaded and the status item exists, and
    // normal termination, as ordered lists of named steps.
    std::vector<LifecycleStep> startSteps();
    std::vector<LifecycleStep> exitSteps();
    // What stops the folders' background work before the objects it uses
    // go away; run when the services are destroyed.
    std::vector<LifecycleStep> stopSteps();
    void start();
    // Normal termination: undo what must not outlive the program, then save
    // every record.
    void terminate();

    // For a command run without a running instance: blocks until the work
    // the tweaks started in the background, and what it posted back to the
    // main queue, has finished.
    void finishBackgroundWork();
    const BackgroundDrain& backgroundWorkers() const { return drain_; }

    static constexpr std::chrono::milliseconds applyPersistedTogglesDelay{2000};

  private:
    // Starts watching the session's events; answers the notice for the
    // Activity page.
    std::string startWatchingSessionEvents();
    core::TweakFactory makeFactory();

    std::unique_ptr<SharedServices> shared_;
    std::unique_ptr<SystemWiring> system_;
    std::unique_ptr<TriggersWiring> triggers_;
    std::unique_ptr<WindowsWiring> windows_;
    std::unique_ptr<InputWiring> input_;
    std::unique_ptr<DisplayWiring> display_;
    std::unique_ptr<WindowTweaksWiring> windowTweaks_;
    std::unique_ptr<TextWiring> text_;
    core::TweakFactory factory_;
    core::Catalogue catalogue_;
    core::TweaksHandler tweaksHandler_;
    core::TweakNotifications notifications_;
    core::SoundPlayer soundPlayer_;
    core::TweakActions tweakActions_;
    core::WorkflowService workflows_;
    core::SwitchRestore switchRestore_{catalogue_};
    core::RestoreService restore_;
    std::unique_ptr<platform::HotkeyRegistry> hotkeys_;
    std::unique_ptr<core::ShortcutService> shortcuts_;
    std::unique_ptr<core::AutomationManager> automation_;
    BackgroundDrain drain_;
    std::unique_ptr<platform::dbus::SessionEventSource> sessionEvents_;
    bool sessionEventsWatched_ = false;
    // A toggle of the program's own switched off let go of what it held:
    // once the switching pauses, the freed pages go back to the system.
    std::unique_ptr<core::Debouncer> giveBackHeap_;
    core::Subscription switchedOff_;
};

}  // namespace quorvane::app
