#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

#include "core/catalogue/Catalogue.hpp"
#include "platform/Quoting.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/memory/MemoryRestoreLog.hpp"
#include "adapters/qt/XdgFileManagerActions.hpp"
#include "simmac/SimDesktop.hpp"
#include "support/TemporaryDirectory.hpp"
#include "triggers/finder/FinderContextMenuTask.hpp"

// The file managers' own menus, in temporary XDG folders.
namespace quorvane::triggers {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every file under a folder with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = read(entry.path());
    return files;
}

bool executable(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) != 0;
}

constexpr const char* usersThunarActions = R"(<?xml version="1.0" encoding="UTF-8"?>
<actions>
<action>
	<icon>utilities-terminal</icon>
	<name>Open Terminal Here</name>
	<unique-id>1290000000000001-1</unique-id>
	<command>exo-open --working-directory %f --launch TerminalEmulator</command>
	<description>Example for a custom action</description>
	<patterns>*</patterns>
	<startup-notify/>
	<directories/>
</action>
</actions>
)";

struct FileManagerActionsTest : ::testing::Test {
    quorvane::testing::TemporaryDirectory root;
    fs::path data = root.path() / "data";
    fs::path config = root.path() / "config";
    // A program path that itself needs quoting.
    fs::path program = root.path() / "my tools/quorvane";
    fs::path recorded = root.path() / "arguments";
    platform::memory::MemoryJournal journal;
    platform::memory::MemoryLog log;
    platform::sim::SimWorkspace workspace{&journal};

    platform::qt::XdgFileManagerActions::Folders folders() const {
        return {data, config, root.path() / "state/file-manager-actions.json", program, ""};
    }

    void SetUp() override {
        for (const char* folder : {"nautilus", "nemo", "kio"})
            fs::create_directories(data / folder);
        write(config / "Thunar/uca.xml", usersThunarActions);
        // Stands in for quorvane: writes the arguments it got, one per NUL.
        write(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > " +
                           platform::shellQuote(recorded.string()) + "\n");
        fs::permissions(program, fs::perms::owner_all);
    }

    std::vector<std::string> arguments() const {
        std::vector<std::string> split;
        std::string all = read(recorded);
        for (std::size_t at = 0, end; (end = all.find('\0', at)) != std::string::npos; at = end + 1)
            split.push_back(all.substr(at, end - at));
        return split;
    }

    // Runs a command line as the file managers do: each path quoted as one
    // argument in place of %F, and the line split by shell rules.
    void runCommandLine(std::string line, const std::vector<std::string>& paths) {
        std::string quoted;
        for (const auto& path : paths)
            quoted += " " + platform::shellQuote(path);
        line.replace(line.find(" %F"), 3, quoted);
        ASSERT_EQ(std::system(("cd " + platform::shellQuote(root.path().string()) + " && " + line)
                                  .c_str()),
                  0)
            << line;
    }

    std::vector<platform::FileAction> actions() const {
        return {{"copyPath", "Copy Path", "Copy file path to clipboard", "edit-copy"},
                {"newFolder", "New Folder", "Create a new folder", "folder-new"}};
    }
};

TEST_F(FileManagerActionsTest, installsIntoEachFileManagerFoundAndRemovesExactlyThat) {
    platform::qt::XdgFileManagerActions fileManagers(folders());
    const auto before = snapshot(root.path());
    auto reports = fileManagers.install(actions());
    ASSERT_EQ(reports.size(), 4u);
    for (const auto& report : reports) {
        EXPECT_EQ(report.installed, (std::vector<std::string>{"Copy Path", "New Folder"}))
            << report.fileManager;
        EXPECT_EQ(report.error, "") << report.fileManager;
    }
    EXPECT_TRUE(executable(data / "nautilus/scripts/Quorvane/Copy Path"));
    EXPECT_TRUE(executable(data / "kio/servicemenus/quorvane.desktop"));
    EXPECT_TRUE(fs::exists(data / "nemo/actions/quorvane-newFolder.nemo_action"));
    const std::string thunar = read(config / "Thunar/uca.xml");
    EXPECT_NE(thunar.find("1290000000000001-1"), std::string::npos);  // the user's, kept
    EXPECT_NE(thunar.find("<unique-id>quorvane-copyPath</unique-id>"), std::string::npos);

    // Again: the same files, our Thunar actions once.
    const auto installed = snapshot(root.path());
    fileManagers.install(actions());
    EXPECT_EQ(snapshot(root.path()), installed);

    // A later install without an action takes its files away.
    fileManagers.install({actions()[0]});
    EXPECT_FALSE(fs::exists(data / "nautilus/scripts/Quorvane/New Folder"));
    EXPECT_EQ(read(config / "Thunar/uca.xml").find("quorvane-newFolder"), std::string::npos);

    fileManagers.remove();
    auto after = snapshot(root.path());
    after.erase("state/file-manager-actions.json");
    auto expected = before;
    expected.erase("config/Thunar/uca.xml");
    auto thunarAfter = after["config/Thunar/uca.xml"];
    after.erase("config/Thunar/uca.xml");
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(fs::exists(data / "nautilus/scripts/Quorvane"));
    EXPECT_NE(thunarAfter.find("exo-open --working-directory %f"), std::string::npos);
    EXPECT_EQ(thunarAfter.find("quorvane-"), std::string::npos);
    // Switched off stays off in the next run.
    EXPECT_FALSE(platform::qt::XdgFileManagerActions(folders()).enabled());
}

// What a file manager hands over reaches finder-action as it is: spaces,
// quotes, $(...) and line breaks, through every kind of entry.
// Installed but never started, a file manager has no folder yet: found by
// its program, it gets one with our actions in it.
TEST_F(FileManagerActionsTest, aFileManagerNotStartedYetGetsItsFolder) {
    fs::remove_all(data / "nemo");
    auto folders = this->folders();
    (void)platform::qt::XdgFileManagerActions(folders).install(actions());
    EXPECT_FALSE(fs::exists(data / "nemo"));
    write(root.path() / "bin/nemo", "#!/bin/sh\n");
    fs::permissions(root.path() / "bin/nemo", fs::perms::owner_all);
    folders.searchPath = "/nonexistent:" + (root.path() / "bin").string();
    platform::qt::XdgFileManagerActions fileManagers(folders);
    fileManagers.install(actions());
    EXPECT_TRUE(fs::exists(data / "nemo/actions/quorvane-copyPath.nemo_action"));
}

TEST_F(FileManagerActionsTest, fileNamesReachTheActionVerbatim) {
    platform::qt::XdgFileManagerActions fileManagers(folders());
    fileManagers.install(actions());
    const std::vector<std::string> paths{root.path() / "with space.txt",
                                         root.path() / "it's \"quoted\"",
                                         root.path() / "$(touch pwned)", root.path() / "new\nline",
                                         root.path() / "back\\slash `tick`"};
    std::vector<std::string> expected{"finder-action", "copyPath"};
    expected.insert(expected.end(), paths.begin(), paths.end());

    // Nautilus runs the script with the files as its arguments.
    std::string command = platform::shellQuote((data / "nautilus/scripts/Quorvane/Copy Path").string());
    for (const auto& path : paths)
        command += " " + platform::shellQuote(path);
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(arguments(), expected);

    auto execLine = [](const std::string& file, const std::string& key) {
        std::istringstream in(file);
        for (std::string line; std::getline(in, line);)
            if (line.starts_with(key))
                return line.substr(key.size());
        return std::string();
    };
    // Nemo quotes as asked: single quotes keep every byte (its default
    // backslash escaping drops newlines).
    const std::string nemo = read(data / "nemo/actions/quorvane-copyPath.nemo_action");
    EXPECT_NE(nemo.find("\nQuote=single\n"), std::string::npos);
    runCommandLine(execLine(nemo, "Exec="), paths);
    EXPECT_EQ(arguments(), expected);
    runCommandLine(execLine(read(data / "kio/servicemenus/quorvane.desktop"), "Exec="), paths);
    EXPECT_EQ(arguments(), expected);  // the first action in the menu is copyPath
    const std::string thunar = read(config / "Thunar/uca.xml");
    const auto start = thunar.find("<command>", thunar.find("quorvane-copyPath")) + 9;
    std::string thunarLine = thunar.substr(start, thunar.find("</command>", start) - start);
    for (const auto& [entity, character] :
         std::vector<std::pair<std::string, std::string>>{{"&apos;", "'"}, {"&quot;", "\""},
                                                          {"&amp;", "&"}})
        for (std::size_t at; (at = thunarLine.find(entity)) != std::string::npos;)
            thunarLine.replace(at, entity.size(), character);
    runCommandLine(thunarLine, paths);
    EXPECT_EQ(arguments(), expected);
    EXPECT_FALSE(fs::exists(root.path() / "pwned"));
}

TEST_F(FileManagerActionsTest, aFolderThatCannotBeWrittenIsReportedAndLeftWithNothingOfOurs) {
    // Nemo's actions folder is a file; Nautilus fails on its second script;
    // Thunar's file is not XML.
    write(data / "nemo/actions", "not a folder");
    fs::create_directories(data / "nautilus/scripts/Quorvane/New Folder");
    write(config / "Thunar/uca.xml", "<actions><action>");
    platform::qt::XdgFileManagerActions fileManagers(folders());
    std::map<std::string, platform::FileManagerReport> byName;
    for (auto& report : fileManagers.install(actions()))
        byName[report.fileManager] = report;
    for (const char* broken : {"Nemo", "Nautilus", "Thunar"}) {
        EXPECT_NE(byName[broken].error, "") << broken;
        EXPECT_TRUE(byName[broken].installed.empty()) << broken;
    }
    EXPECT_FALSE(fs::exists(data / "nautilus/scripts/Quorvane/Copy Path"));
    EXPECT_EQ(read(config / "Thunar/uca.xml"), "<actions><action>");
    EXPECT_EQ(byName["Dolphin"].installed.size(), 2u);  // the others are unharmed

    // Too large to read is not "no actions yet": the user's are in it.
    const std::string large = std::string("<actions><!--") + std::string(5u << 20, ' ') + "-->" +
                              (usersThunarActions + std::string(usersThunarActions).find("<action>"));
    write(config / "Thunar/uca.xml", large);
    for (auto& report : fileManagers.install(actions())) {
        if (report.fileManager == "Thunar") {
            EXPECT_NE(report.error.find("left as it is"), std::string::npos) << report.error;
        }
    }
    EXPECT_EQ(read(config / "Thunar/uca.xml"), large);
}

// A file kept elsewhere through a link (dotfiles) stays a link and gets the
// actions; a link to anything but a regular file is never written through,
// as a temporary renamed over a FIFO or a device would replace it.
TEST_F(FileManagerActionsTest, aLinkIsFollowedOnlyToARegularFile) {
    const auto dotfiles = root.path() / "dotfiles/uca.xml";
    write(dotfiles, usersThunarActions);
    fs::remove(config / "Thunar/uca.xml");
    fs::create_symlink(dotfiles, config / "Thunar/uca.xml");
    const auto fifo = root.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(folders().stateFile.parent_path());
    fs::create_symlink(fifo, folders().stateFile);

    platform::qt::XdgFileManagerActions fileManagers(folders());
    (void)fileManagers.install(actions());
    EXPECT_TRUE(fs::is_symlink(config / "Thunar/uca.xml"));
    EXPECT_NE(read(dotfiles).find("quorvane-copyPath"), std::string::npos);
    EXPECT_NE(read(dotfiles).find("Open Terminal Here"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(FileManagerActionsTest, theSwitchInstallsAndRemovesTheActionsWhoseApplicationIsThere) {
    platform::qt::XdgFileManagerActions fileManagers(folders());
    platform::memory::MemoryRestoreLog restoreLog;
    core::ChangeRecorder changes(&restoreLog, log);
    FileManagerSync sync(fileManagers, workspace, journal, log, &changes);
    // Terminal is installed on the simulated Mac; iTerm and VS Code are not.
    std::vector<std::string> offered;
    for (const auto& action : sync.actions())
        offered.push_back(action.id);
    EXPECT_EQ(offered, (std::vector<std::string>{"copyPath", "copyFilename", "copyFileURL",
                                                 "openInTerminal", "newTextFile", "newFolder"}));

    FinderContextMenuTask tweak({.id = "FinderContextMenuTask"}, &sync);
    ASSERT_TRUE(tweak.isOn());
    sync.refresh();  // at launch
    EXPECT_TRUE(fs::exists(data / "nautilus/scripts/Quorvane/Open in Terminal"));
    // Installing them is kept, as the switch's, to be put back by turning it off.
    ASSERT_EQ(restoreLog.entries().size(), 1u);
    EXPECT_EQ(restoreLog.entries()[0].kind, "switch");
    EXPECT_EQ(restoreLog.entries()[0].before, "off");
    EXPECT_EQ(restoreLog.entries()[0].after, "on");
    sync.refresh();  // already there: nothing new
    EXPECT_EQ(restoreLog.entries().size(), 1u);
    (void)tweak.run();
    EXPECT_TRUE(restoreLog.entries().empty());  // undone by the switch itself
    EXPECT_FALSE(tweak.isOn());
    EXPECT_FALSE(fs::exists(data / "nautilus/scripts/Quorvane"));
    EXPECT_EQ(journal.entries().back().detail, "removed");
    // The next run starts as this one left it, and launching installs nothing.
    FinderContextMenuTask next({.id = "FinderContextMenuTask"}, &sync);
    EXPECT_FALSE(next.isOn());
    sync.refresh();
    EXPECT_FALSE(fs::exists(data / "nautilus/scripts/Quorvane"));
    (void)next.run();
    EXPECT_TRUE(fs::exists(data / "nautilus/scripts/Quorvane/New Text File"));
    EXPECT_TRUE(journal.entries().back().detail.starts_with("installed: Nautilus: 6 in "));
}

}  // namespace
}  // namespace quorvane::triggers
