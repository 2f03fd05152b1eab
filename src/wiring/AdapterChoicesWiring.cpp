#include "wiring/AdapterChoicesWiring.hpp"

#include <cstdlib>
#include <filesystem>
#include <string>

#include "adapters/dbus/BluezBluetooth.hpp"
#include "adapters/dbus/PowerProfilesDaemon.hpp"
#include "adapters/dbus/ScreenSaverService.hpp"
#include "adapters/dbus/UDisks2Disks.hpp"
#include "adapters/dbus/LogindPower.hpp"
#include "adapters/posix/FileOps.hpp"

namespace quorvane::app {

namespace {

using platform::ActsOn;
using platform::Port;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// pactl reaches the session's sound server (PulseAudio, or PipeWire's
// PulseAudio server) through its socket: both are looked for, not run.
ActsOn soundServer() {
    if (!platform::posix::findExecutable("pactl", environment("PATH")))
        return ActsOn::unavailable("needs pactl (package pulseaudio-utils) to reach the sound server");
    if (!environment("PULSE_SERVER").empty())
        return ActsOn::thisDesktop();
    const std::string runtime = environment("XDG_RUNTIME_DIR");
    std::error_code error;
    if (runtime.empty() || !std::filesystem::exists(runtime + "/pulse/native", error))
        return ActsOn::unavailable("no sound server (PulseAudio or PipeWire) runs in this session");
    return ActsOn::thisDesktop();
}

ActsOn blueZ() {
    return platform::dbus::BluezBluetooth::isPresent()
               ? ActsOn::thisDesktop()
               : ActsOn::unavailable("BlueZ, the Bluetooth service, does not run on this machine");
}

void reportMacOnly(platform::AdapterChoices& choices) {
    choices.set(Port::preferences,
                ActsOn::simulatedMac("macOS preferences (the Dock, Finder, Xcode...) have no "
                                     "Linux equivalent"));
    choices.set(Port::scripting,
                ActsOn::simulatedMac("it runs AppleScript, which Linux does not have"));
    choices.set(Port::macTools,
                ActsOn::simulatedMac("it runs a macOS administration tool with no Linux "
                                     "equivalent here"));
    choices.set(Port::workspace, ActsOn::simulatedMac("it opens a macOS application"));
    choices.set(Port::hidSystem,
                ActsOn::simulatedMac("the Mac keyboard's function-key mode has no Linux "
                                     "equivalent"));
    choices.set(Port::spellChecker,
                ActsOn::simulatedMac("macOS's spelling languages have no Linux equivalent"));
    choices.set(Port::desktopPicture,
                ActsOn::simulatedMac("the notch and the Mac's desktop picture have no Linux "
                                     "equivalent"));
}

}  // namespace

bool runsUnderWaylandCompositor() {
    return !environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland";
}

const char* simulatedSessionReason() {
    const char* asked = std::getenv("QUORVANE_DESKTOP");
    return asked && std::string(asked) == "simulated"
               ? "QUORVANE_DESKTOP=simulated asks for the simulated Mac"
               : "there is no X11 desktop session to act on";
}

void reportAdapterChoices(platform::AdapterChoices& choices, std::string_view sessionKind,
                          const platform::DesktopSettings& settings) {
    reportMacOnly(choices);
    const Port desktopPorts[] = {Port::desktop,     Port::screen,   Port::pasteboard,
                                 Port::statusArea,  Port::cameras,  Port::soundVolume,
                                 Port::bluetooth,   Port::browsers, Port::fileManager,
                                 Port::idleInhibit, Port::desktopSettings, Port::trash,
                                 Port::powerProfiles, Port::screenSaver, Port::removableDisks,
                                 Port::systemPower};
    if (sessionKind != "X11" && sessionKind != "Wayland") {
        for (Port port : desktopPorts)
            choices.set(port, ActsOn::simulatedMac(simulatedSessionReason()));
        return;
    }
    for (Port port : desktopPorts)
        choices.set(port, ActsOn::thisDesktop());
    // No Wayland compositor lets a program reach the others' windows, input
    // or screen; XWayland would show only X11 programs, so it is not used.
    if (sessionKind == "Wayland")
        for (Port port : {Port::desktop, Port::screen})
            choices.set(port, ActsOn::unavailable("needs an X11 session"));
    // On X11 the X server holds its own saver off when nothing else can;
    // a Wayland session needs the service, X11 programs in it too: there
    // XWayland's saver is not the one that blanks the screen.
    if (sessionKind == "Wayland" || runsUnderWaylandCompositor())
        choices.setProbed(Port::idleInhibit, [] {
            return platform::dbus::ScreenSaverService::takesInhibit()
                       ? ActsOn::thisDesktop()
                       : ActsOn::unavailable("nothing in this session can hold the screen saver "
                                             "off (no org.freedesktop.ScreenSaver service)");
        });
    choices.setProbed(Port::soundVolume, soundServer);
    choices.setProbed(Port::bluetooth, blueZ);
    choices.setProbed(Port::screenSaver, [] {
        return platform::dbus::ScreenSaverService::isPresent()
                   ? ActsOn::thisDesktop()
                   : ActsOn::unavailable("no screen saver service runs in this session");
    });
    choices.setProbed(Port::removableDisks, [] {
        return platform::dbus::UDisks2Disks::isPresent()
                   ? ActsOn::thisDesktop()
                   : ActsOn::unavailable("UDisks2, the disks service, does not run on this machine");
    });
    choices.setProbed(Port::systemPower, [] {
        return platform::dbus::LogindPower::isPresent()
                   ? ActsOn::thisDesktop()
                   : ActsOn::unavailable("logind does not run on this machine");
    });
    choices.setProbed(Port::powerProfiles, [] {
        return platform::dbus::PowerProfilesDaemon::isPresent()
                   ? ActsOn::thisDesktop()
                   : ActsOn::unavailable("power-profiles-daemon does not run on this machine");
    });
    // The desktop's interface schema stands for the rest: a desktop with
    // settings at all has it.
    choices.setProbed(Port::desktopSettings, [&settings] {
        auto unusable = settings.unusableReason("org.gnome.desktop.interface", "color-scheme");
        return unusable ? ActsOn::unavailable(*unusable) : ActsOn::thisDesktop();
    });
}

}  // namespace quorvane::app
