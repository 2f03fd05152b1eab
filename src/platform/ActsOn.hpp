#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::platform {

// Where a service, and so a tweak that uses it, acts: on this computer's
// own desktop, on the simulated Mac (for what Linux has no equivalent of,
// or on a machine run without a desktop session), or nowhere, because this
// machine lacks what the desktop would need.
struct ActsOn {
    enum class Place { thisDesktop, simulatedMac, unavailable };

    Place place = Place::thisDesktop;
    // Why it is not this desktop: what the simulated Mac stands in for, or
    // what is missing here. Empty on this desktop.
    std::string reason{};

    static ActsOn thisDesktop() { return {}; }
    static ActsOn simulatedMac(std::string why) { return {Place::simulatedMac, std::move(why)}; }
    static ActsOn unavailable(std::string why) { return {Place::unavailable, std::move(why)}; }

    bool isSimulated() const { return place == Place::simulatedMac; }
    bool isUnavailable() const { return place == Place::unavailable; }
    bool operator==(const ActsOn&) const = default;
};

// "desktop", "simulated" or "unavailable": the word the command line, its
// JSON and the control socket carry.
std::string_view placeName(ActsOn::Place place);

// The ports whose adapter the composition root picks for this machine.
// The last group is macOS's own: only the simulated Mac has them.
enum class Port {
    desktop,        // windows, input, screens, displays, global shortcuts
    screen,         // pictures of the screen, its colours, overlays drawn on it
    pasteboard,
    statusArea,     // the status item and its menu
    cameras,
    soundVolume,
    bluetooth,
    browsers,
    fileManager,    // the file manager's actions
    idleInhibit,    // holding the display and the system awake
    desktopSettings,  // the desktop's own settings (its colour scheme...)
    trash,
    powerProfiles,
    screenSaver,
    removableDisks,
    systemPower,    // scheduled power-off and sleep
    preferences,    // the Dock's, Finder's and other macOS preferences
    scripting,      // AppleScript
    macTools,       // macOS's administration tools (pmset, shutdown, xattr, tccutil)
    workspace,      // the Mac's own applications (the screen saver's)
    hidSystem,      // the Mac keyboard's own settings
    spellChecker,
    desktopPicture,
};

// Which adapter each port got, as the composition root chose it; tweaks and
// front ends read it. A choice that needs a probe (is the sound server
// there?) is given as a function, asked on the first question and kept once
// it finds the service; while the service is missing it is asked again,
// since it may be installed or started later. Thread-safe: a tweak may ask
// from its executor.
class AdapterChoices {
  public:
    void set(Port port, ActsOn acts);
    void setProbed(Port port, std::function<ActsOn()> probe);

    // A port nobody chose acts on this desktop: a test's in-memory world.
    ActsOn of(Port port) const;
    // Several ports: the least real of them decides (unavailable, then the
    // simulated Mac), with the first such port's reason.
    ActsOn of(std::span<const Port> ports) const;

  private:
    mutable std::mutex mutex_;
    mutable std::map<Port, ActsOn> decided_;
    mutable std::map<Port, std::function<ActsOn()>> pending_;
};

}  // namespace quorvane::platform
