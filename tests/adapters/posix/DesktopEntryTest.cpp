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

}  // namespace
}  // namespace quorvane::platform::posix
