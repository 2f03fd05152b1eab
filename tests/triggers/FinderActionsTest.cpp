#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "simmac/SimDesktop.hpp"
#include "support/TemporaryDirectory.hpp"
#include "triggers/finder/FinderActions.hpp"

namespace quorvane::triggers {
namespace {

struct FinderActionsTest : ::testing::Test {
    quorvane::testing::TemporaryDirectory folder;
    platform::sim::SimPasteboard pasteboard;
    platform::memory::MemoryJournal journal;
    platform::sim::SimWorkspace workspace{&journal};
    platform::memory::MemoryLog log;
    FinderActionPerformer performer{pasteboard, workspace, journal, log};

    void perform(std::string_view id, std::vector<std::string> paths) {
        performer.perform(*findFinderAction(id), paths);
    }
    std::string dir() const { return folder.path().string(); }
};

TEST_F(FinderActionsTest, copyActionsPutOneLinePerItemOnThePasteboard) {
    perform("copyFilename", {"/a/b.txt", "/a/c"});
    EXPECT_EQ(pasteboard.string(), "b.txt\nc");
    perform("copyPath", {"/a/b.txt", "/a/c"});
    EXPECT_EQ(pasteboard.string(), "/a/b.txt\n/a/c");
    perform("copyFileURL", {"/a/b c.txt", "/a/naïve#1?.txt"});
    EXPECT_EQ(pasteboard.string(), "file:///a/b%20c.txt\nfile:///a/na%C3%AFve%231%3F.txt");
    // Folders, also when named with a trailing "/", as Finder gives them.
    perform("copyFileURL", {dir(), "/a/c/"});
    EXPECT_EQ(pasteboard.string(), "file://" + dir() + "/\nfile:///a/c/");
    perform("copyFilename", {"/a/c/", "/"});
    EXPECT_EQ(pasteboard.string(), "c\n/");
    perform("copyPath", {});
    EXPECT_EQ(pasteboard.changeCount(), 5);  // no paths: the pasteboard is left alone
    // Each write is journaled by kind and length, never with the paths.
    ASSERT_EQ(journal.entries().size(), 5u);
    EXPECT_EQ(journal.entries()[1].detail, "paths, 13 bytes");
    for (const auto& entry : journal.entries())
        EXPECT_EQ(entry.detail.find("/a/"), std::string::npos);
}

TEST_F(FinderActionsTest, openInAnAppOpensTheFolderOfAFileIfTheAppIsInstalled) {
    std::ofstream(folder.path() / "notes.txt") << "x";
    perform("openInTerminal", {dir() + "/notes.txt"});
    ASSERT_EQ(workspace.opened.size(), 1u);
    EXPECT_EQ(workspace.opened[0], "file://" + dir() + " with com.apple.Terminal");
    perform("openInVSCode", {dir()});  // not installed: nothing
    EXPECT_EQ(workspace.opened.size(), 1u);
    workspace.installed.insert("com.microsoft.VSCode");
    perform("openInVSCode", {dir()});
    EXPECT_EQ(workspace.opened.back(), "file://" + dir() + " with com.microsoft.VSCode");
}

// On a desktop, "Open in Terminal" opens the desktop's terminal in the
// folder, whatever its name holds; the script is run here as the launcher
// runs it, with a stand-in terminal that says where it started.
TEST_F(FinderActionsTest, openInTerminalOnADesktopOpensItsTerminalInTheFolder) {
    const auto odd = folder.path() / "it's \"$(date)\" -n";
    std::filesystem::create_directories(odd);
    const auto bin = folder.path() / "bin";
    std::filesystem::create_directories(bin);
    // The system's choice, the only program on this path: never the host's.
    std::ofstream(bin / "x-terminal-emulator") << "#!/bin/sh\npwd > \"$TERMINAL_SAW\"\n";
    std::filesystem::permissions(bin / "x-terminal-emulator", std::filesystem::perms::owner_all);
    std::vector<std::string> opened;
    performer.setOpenTerminal([&](const std::string& where) {
        opened.push_back(where);
        const std::string line = "PATH=" + bin.string() + " TERMINAL_SAW=" +
                                 (folder.path() / "saw").string() + " /bin/sh -c '" +
                                 desktopTerminalScript + "' sh \"$WHERE\"";
        ::setenv("WHERE", where.c_str(), 1);
        if (std::system(line.c_str()) != 0)
            return platform::Status(platform::Error{"the terminal did not start"});
        return platform::success();
    });
    perform("openInTerminal", {odd.string()});
    ASSERT_EQ(opened, std::vector<std::string>{odd.string()});
    std::ifstream saw(folder.path() / "saw");
    std::string line;
    std::getline(saw, line);
    EXPECT_EQ(line, odd.string());
    EXPECT_TRUE(workspace.opened.empty());  // not the Mac's Terminal
}

TEST_F(FinderActionsTest, newItemsTakeTheNextFreeNameAndReplaceNothing) {
    std::ofstream(folder.path() / "Untitled.txt") << "keep me";
    std::filesystem::create_directory(folder.path() / "untitled folder");
    // A name taken by something that is not a file of ours (a dangling
    // link) is passed over too.
    std::filesystem::create_symlink(folder.path() / "nowhere", folder.path() / "Untitled 1.txt");

    perform("newTextFile", {dir()});
    perform("newFolder", {dir()});
    perform("newFolder", {dir()});
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "Untitled 2.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "untitled folder 2"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "untitled folder 3"));
    std::ifstream kept(folder.path() / "Untitled.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "nowhere"));
    EXPECT_EQ(workspace.opened.back(), dir() + "/untitled folder 3 in " + dir());
    EXPECT_EQ(journal.lines().size(), 6u);  // three made, three revealed

    perform("newTextFile", {dir() + "/missing-folder"});
    EXPECT_TRUE(log.contains("cannot create"));
}

TEST_F(FinderActionsTest, messagesFromOtherProcessesAreCheckedBeforeAnythingHappens) {
    auto message = FinderActionMessage::decode(R"({"actionId":"copyPath","paths":["/a/b"]})");
    ASSERT_TRUE(message);
    performer.handle(message.value());
    EXPECT_EQ(pasteboard.string(), "/a/b");

    for (std::string bad : {std::string("not json"), std::string(R"({"actionId":"copyPath"})"),
                            std::string(R"({"actionId":"copyPath","paths":["relative/b"]})"),
                            std::string(R"({"actionId":"copyPath","paths":[7]})"),
                            std::string(R"({"actionId":3,"paths":[]})")})
        EXPECT_FALSE(FinderActionMessage::decode(bad)) << bad;
    std::string many = R"({"actionId":"copyPath","paths":[)";
    for (std::size_t i = 0; i <= FinderActionMessage::maxPaths; ++i)
        many += (i ? ",\"/x" : "\"/x") + std::to_string(i) + "\"";
    EXPECT_FALSE(FinderActionMessage::decode(many + "]}"));
    EXPECT_FALSE(FinderActionMessage::decode(std::string(FinderActionMessage::maxBytes + 1, ' ')));

    performer.handle({"formatDisk", {"/"}});
    EXPECT_TRUE(log.contains("no action \"formatDisk\""));
    EXPECT_EQ(finderActions().size(), 8u);
    EXPECT_EQ(findFinderAction("openIniTerm")->bundleIdentifier, "com.googlecode.iterm2");
}

}  // namespace
}  // namespace quorvane::triggers
