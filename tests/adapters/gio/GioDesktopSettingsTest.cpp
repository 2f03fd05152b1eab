#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "adapters/gio/GioDesktopSettings.hpp"
#include "support/TemporaryDirectory.hpp"

// Each test is its own process (ctest runs them one by one), so the
// settings store chosen here is the one GIO takes.
namespace quorvane::platform::gio {
namespace {

constexpr const char* interface = "org.gnome.desktop.interface";

// What the gsettings tool, another program on the same store, reads.
std::string readByAnotherProgram(const std::string& key) {
    std::string command = "gsettings get " + std::string(interface) + " " + key;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    if (pipe)
        ::pclose(pipe);
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

TEST(GioDesktopSettingsTest, aChangeReachesOtherProgramsAndCanBeUndone) {
    quorvane::testing::TemporaryDirectory config;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "keyfile", 1);
    GioDesktopSettings settings;
    ASSERT_EQ(settings.unusableReason(interface, "color-scheme"), std::nullopt)
        << "gsettings-desktop-schemas 42 or later is needed";
    EXPECT_EQ(settings.userValue(interface, "color-scheme"), std::nullopt);
    EXPECT_EQ(settings.value(interface, "color-scheme"), "'default'");

    ASSERT_TRUE(settings.set(interface, "color-scheme", "'prefer-dark'"));
    EXPECT_EQ(settings.userValue(interface, "color-scheme"), "'prefer-dark'");
    EXPECT_EQ(readByAnotherProgram("color-scheme"), "'prefer-dark'");

    // A value the key does not take, or not a value at all, changes nothing.
    EXPECT_FALSE(settings.set(interface, "color-scheme", "'purple'"));
    EXPECT_FALSE(settings.set(interface, "color-scheme", "prefer-dark"));
    EXPECT_FALSE(settings.set(interface, "no-such-key", "true"));
    EXPECT_FALSE(settings.set("org.example.NoSuchSchema", "key", "true"));
    EXPECT_EQ(readByAnotherProgram("color-scheme"), "'prefer-dark'");

    ASSERT_TRUE(settings.reset(interface, "color-scheme"));
    EXPECT_EQ(settings.userValue(interface, "color-scheme"), std::nullopt);
    EXPECT_EQ(readByAnotherProgram("color-scheme"), "'default'");
    EXPECT_TRUE(settings.unusableReason(interface, "no-such-key"));
}

// A store that forgets everything when the program ends would take a
// change and tell nobody: such a desktop is said to lack the settings.
TEST(GioDesktopSettingsTest, aStoreThatForgetsIsNotUsed) {
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    const auto reason = GioDesktopSettings().unusableReason(interface, "color-scheme");
    ASSERT_TRUE(reason);
    EXPECT_NE(reason->find("no settings store"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::platform::gio
