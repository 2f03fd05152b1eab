#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "adapters/posix/DesktopEntry.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(DesktopEntry, linksAreHandedToTheProgramWithoutTouchingTheUsersOtherChoices) {
    quorvane::testing::TemporaryDirectory home;
    const auto data = home.path() / "data";
    const auto config = home.path() / "config";
    std::filesystem::create_directories(config);
    std::ofstream(config / "mimeapps.list")
        << "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n"
           "text/html=browser.desktop\n";

    ASSERT_TRUE(registerUrlScheme(data, config, "/opt/My \"Tools\"/quorvane"));
    // Again at the next launch: the same entry is left as it is (a rewrite
    // would be a new file).
    const auto written = data / "applications/com.tarnvell.Quorvane.desktop";
    const auto inode = [&] {
        struct stat info {};
        ::stat(written.c_str(), &info);
        return info.st_ino;
    };
    const auto first = inode();
    ASSERT_TRUE(registerUrlScheme(data, config, "/opt/My \"Tools\"/quorvane"));
    EXPECT_EQ(inode(), first);
    EXPECT_EQ(contents(config / "mimeapps.list"),
              "[Added Associations]\ntext/plain=editor.desktop;\n\n[Default Applications]\n"
              "x-scheme-handler/quorvane=com.tarnvell.Quorvane.desktop\n"
              "text/html=browser.desktop\n");
    const auto entry = contents(data / "applications/com.tarnvell.Quorvane.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/My \\\"Tools\\\"/quorvane\" --from-link %u\n"),
              std::string::npos);
    EXPECT_NE(entry.find("MimeType=x-scheme-handler/quorvane;\n"), std::string::npos);

    // A handler the user chose stays theirs.
    std::ofstream(config / "mimeapps.list")
        << "[Default Applications]\nx-scheme-handler/quorvane=other.desktop\n";
    ASSERT_TRUE(registerUrlScheme(data, config, "/usr/bin/quorvane"));
    EXPECT_EQ(contents(config / "mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/quorvane=other.desktop\n");
}

// A packaged program has its entry already: what a run from a build tree
// wrote for the user goes, so nothing of ours hides the package's entry or
// outlives its removal. An entry that is not ours stays.
TEST(DesktopEntry, aPackagedProgramLeavesNoEntryOfTheUsersOwn) {
    quorvane::testing::TemporaryDirectory home;
    const auto data = home.path() / "data";
    const auto config = home.path() / "config";
    const auto prefix = home.path() / "usr";
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/applications");
    std::ofstream(prefix / "share/applications/com.tarnvell.Quorvane.desktop") << "[Desktop Entry]\n";
    EXPECT_EQ(packagedEntry(prefix / "bin/quorvane"),
              prefix / "share/applications/com.tarnvell.Quorvane.desktop");
    EXPECT_EQ(packagedEntry(home.path() / "build/src/quorvane"), std::nullopt);

    std::filesystem::create_directories(config);
    std::ofstream(config / "mimeapps.list") << "[Default Applications]\ntext/html=browser.desktop\n";
    ASSERT_TRUE(registerUrlScheme(data, config, home.path() / "build/src/quorvane"));
    ASSERT_TRUE(std::filesystem::exists(data / "applications/com.tarnvell.Quorvane.desktop"));
    ASSERT_TRUE(registerUrlScheme(data, config, prefix / "bin/quorvane"));
    EXPECT_FALSE(std::filesystem::exists(data / "applications/com.tarnvell.Quorvane.desktop"));
    EXPECT_EQ(contents(config / "mimeapps.list"), "[Default Applications]\ntext/html=browser.desktop\n");

    std::ofstream(data / "applications/com.tarnvell.Quorvane.desktop") << "[Desktop Entry]\nExec=mine\n";
    const auto removed = removeUrlScheme(data, config);
    ASSERT_TRUE(removed);
    EXPECT_TRUE(removed.value().empty());
    EXPECT_TRUE(std::filesystem::exists(data / "applications/com.tarnvell.Quorvane.desktop"));
}

}  // namespace
}  // namespace quorvane::platform::posix
