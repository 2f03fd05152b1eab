#include <gtest/gtest.h>

#include <map>
#include <string>

#include "adapters/posix/XdgDirectories.hpp"

namespace quorvane::platform::posix {
namespace {

XdgDirectories resolve(const std::map<std::string, std::string>& variables) {
    return XdgDirectories::fromEnvironment([&](const char* name) -> const char* {
        auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    });
}

TEST(XdgDirectories, followsTheVariablesAndFallsBackUnderHome) {
    auto fallback = resolve({{"HOME", "/home/ada"}});
    EXPECT_EQ(fallback.dataHome, "/home/ada/.local/share");
    EXPECT_EQ(fallback.configHome, "/home/ada/.config");
    EXPECT_EQ(fallback.stateHome, "/home/ada/.local/state");
    EXPECT_FALSE(fallback.runtimeDir);

    auto chosen = resolve({{"HOME", "/home/ada"},
                           {"XDG_DATA_HOME", "/tmp/data"},
                           {"XDG_CONFIG_HOME", "relative/config"},
                           {"XDG_STATE_HOME", ""},
                           {"XDG_RUNTIME_DIR", "/run/user/1000"}});
    EXPECT_EQ(chosen.dataHome, "/tmp/data");
    EXPECT_EQ(chosen.configHome, "/home/ada/.config");  // relative values are ignored
    EXPECT_EQ(chosen.stateHome, "/home/ada/.local/state");
    EXPECT_EQ(chosen.runtimeDir, "/run/user/1000");
}

}  // namespace
}  // namespace quorvane::platform::posix
