#include <gtest/gtest.h>

#include <fstream>

#include "wiring/InstallLayout.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::app {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

// Helpers and data are found beside the program in a build tree, and in
// libexec/quorvane and share/quorvane once installed, wherever the prefix.
TEST(InstallLayout, findsWhatTheProgramCarriesFromItsOwnPath) {
    testing::TemporaryDirectory root;
    const auto installed = root.path() / "opt/my prefix/bin/quorvane";
    touch(installed);
    touch(root.path() / "opt/my prefix/libexec/quorvane/defaults");
    touch(root.path() / "opt/my prefix/share/quorvane/emoji.json");
    EXPECT_EQ(helperFile(installed, "defaults"), root.path() / "opt/my prefix/libexec/quorvane/defaults");
    EXPECT_EQ(dataFile(installed, "emoji.json"), root.path() / "opt/my prefix/share/quorvane/emoji.json");
    // A helper is not data, nor the other way round; a folder is no file.
    EXPECT_EQ(helperFile(installed, "emoji.json"), fs::path());
    EXPECT_EQ(dataFile(installed, "defaults"), fs::path());
    fs::create_directories(root.path() / "opt/my prefix/libexec/quorvane/folder");
    EXPECT_EQ(helperFile(installed, "folder"), fs::path());

    // In a build tree the one beside the program wins.
    const auto built = root.path() / "build/src/quorvane";
    touch(built);
    touch(root.path() / "build/src/defaults");
    touch(root.path() / "build/libexec/quorvane/defaults");
    EXPECT_EQ(helperFile(built, "defaults"), root.path() / "build/src/defaults");
    EXPECT_EQ(helperFile({}, "defaults"), fs::path());
    EXPECT_FALSE(thisProgram().empty());
}

}  // namespace
}  // namespace quorvane::app
