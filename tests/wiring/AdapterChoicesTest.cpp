#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "platform/ActsOn.hpp"
#include "support/TemporaryDirectory.hpp"
#include "wiring/AdapterChoicesWiring.hpp"

namespace quorvane::app {
namespace {

using platform::ActsOn;
using platform::Port;

// Environment variables set for one test, put back after it.
class ScopedEnvironment {
  public:
    explicit ScopedEnvironment(std::map<std::string, std::optional<std::string>> wanted) {
        for (const auto& [name, value] : wanted) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            set(name, value);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_)
            set(name, value);
    }

  private:
    static void set(const std::string& name, const std::optional<std::string>& value) {
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

// A desktop whose settings lack the interface schema.
struct NoDesktopSettings final : platform::DesktopSettings {
    std::optional<std::string> unusableReason(const std::string&, const std::string&) const override {
        return "no schema";
    }
    std::optional<std::string> value(const std::string&, const std::string&) const override {
        return std::nullopt;
    }
    std::optional<std::string> userValue(const std::string&, const std::string&) const override {
        return std::nullopt;
    }
    platform::Status set(const std::string&, const std::string&, const std::string&) override {
        return platform::Error{"no schema"};
    }
    platform::Status reset(const std::string&, const std::string&) override {
        return platform::Error{"no schema"};
    }
};

TEST(AdapterChoicesTest, theLeastRealPortDecidesAndAMissingServiceIsProbedAgain) {
    platform::AdapterChoices choices;
    int probes = 0;
    bool running = false;
    choices.set(Port::desktop, ActsOn::thisDesktop());
    choices.set(Port::preferences, ActsOn::simulatedMac("no Dock"));
    choices.setProbed(Port::soundVolume, [&] {
        ++probes;
        return running ? ActsOn::thisDesktop() : ActsOn::unavailable("no sound server");
    });
    const Port windowAndDock[] = {Port::desktop, Port::preferences};
    EXPECT_EQ(choices.of(windowAndDock), ActsOn::simulatedMac("no Dock"));
    const Port dockAndSound[] = {Port::preferences, Port::soundVolume};
    EXPECT_EQ(choices.of(dockAndSound), ActsOn::unavailable("no sound server"));
    // Started later, the server is found, and from then on not probed.
    running = true;
    EXPECT_EQ(choices.of(Port::soundVolume), ActsOn::thisDesktop());
    EXPECT_EQ(choices.of(Port::soundVolume), ActsOn::thisDesktop());
    EXPECT_EQ(probes, 2);
}

// In a desktop session what Linux has acts on the desktop or is unavailable
// with the reason, never on the simulated Mac; only macOS's own ports are
// simulated. Without a session, everything is.
TEST(AdapterChoicesTest, aDesktopSessionSimulatesOnlyWhatLinuxHasNoEquivalentOf) {
    quorvane::testing::TemporaryDirectory home;
    const auto bin = home.path() / "bin";
    const auto runtime = home.path() / "run";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(runtime / "pulse");
    const ScopedEnvironment environment(
        {{"PATH", bin.string()},
         {"XDG_RUNTIME_DIR", runtime.string()},
         {"PULSE_SERVER", std::nullopt},
         {"DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + (home.path() / "no-bus").string()}});

    const NoDesktopSettings settings;
    platform::AdapterChoices choices;
    reportAdapterChoices(choices, "X11", settings);
    for (Port port : {Port::desktop, Port::screen, Port::pasteboard, Port::browsers})
        EXPECT_EQ(choices.of(port), ActsOn::thisDesktop());
    for (Port port : {Port::preferences, Port::scripting, Port::hidSystem})
        EXPECT_TRUE(choices.of(port).isSimulated());

    EXPECT_EQ(choices.of(Port::soundVolume).reason,
              "needs pactl (package pulseaudio-utils) to reach the sound server");
    const auto pactl = bin / "pactl";
    std::ofstream(pactl) << "#!/bin/sh\n";
    std::filesystem::permissions(pactl, std::filesystem::perms::owner_all);
    EXPECT_EQ(choices.of(Port::soundVolume).reason,
              "no sound server (PulseAudio or PipeWire) runs in this session");
    std::ofstream(runtime / "pulse" / "native") << "";
    EXPECT_EQ(choices.of(Port::soundVolume), ActsOn::thisDesktop());

    EXPECT_EQ(choices.of(Port::desktopSettings), ActsOn::unavailable("no schema"));
    const auto bluetooth = choices.of(Port::bluetooth);
    EXPECT_TRUE(bluetooth.isUnavailable());
    EXPECT_NE(bluetooth.reason.find("BlueZ"), std::string::npos);

    // Wayland: the same, but no program reaches the others' windows, input
    // or screen.
    platform::AdapterChoices wayland;
    reportAdapterChoices(wayland, "Wayland", settings);
    EXPECT_EQ(wayland.of(Port::desktop), ActsOn::unavailable("needs an X11 session"));
    EXPECT_EQ(wayland.of(Port::screen), ActsOn::unavailable("needs an X11 session"));
    EXPECT_EQ(wayland.of(Port::pasteboard), ActsOn::thisDesktop());
    EXPECT_TRUE(wayland.of(Port::preferences).isSimulated());

    platform::AdapterChoices simulated;
    reportAdapterChoices(simulated, "simulated", settings);
    for (Port port : {Port::desktop, Port::soundVolume, Port::bluetooth, Port::preferences})
        EXPECT_TRUE(simulated.of(port).isSimulated());
}

}  // namespace
}  // namespace quorvane::app
