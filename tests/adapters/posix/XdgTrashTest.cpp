#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "adapters/posix/XdgTrash.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, const std::string& text = "x") {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

// A trashed file and its record.
void trashed(const fs::path& trash, const std::string& name) {
    write(trash / "files" / name);
    write(trash / "info" / (name + ".trashinfo"), "[Trash Info]\nPath=/x/" + name + "\n");
}

// The home trash and each volume's are emptied; a link in the trash goes
// without what it points to; a volume's .Trash that is a link, or not
// sticky, is not taken for a trash.
TEST(XdgTrashTest, emptiesEveryTrashOfThisUserAndNothingOutsideIt) {
    testing::TemporaryDirectory root;
    const auto data = root.path() / "data";
    const auto volume = root.path() / "volume";
    const auto stranger = root.path() / "stranger";
    const std::string uid = std::to_string(::getuid());

    trashed(data / "Trash", "report.txt");
    fs::create_directories(data / "Trash" / "files" / "folder" / "inner");
    write(data / "Trash" / "directorysizes", "1 2 folder\n");
    write(root.path() / "kept" / "precious.txt");
    fs::create_symlink(root.path() / "kept", data / "Trash" / "files" / "link-to-kept");
    trashed(volume / (".Trash-" + uid), "photo.jpg");
    fs::create_directories(volume / ".Trash" / uid);
    ::chmod((volume / ".Trash").c_str(), 01777);
    trashed(volume / ".Trash" / uid, "shared.txt");
    // Another volume whose .Trash is a link to a folder that is not a trash.
    trashed(stranger / "elsewhere" / uid, "not-trash.txt");
    fs::create_symlink(stranger / "elsewhere", stranger / ".Trash");

    XdgTrash trash(data, [&] { return std::vector<fs::path>{volume, stranger}; }, ::getuid());
    EXPECT_EQ(trash.trashFolders(),
              (std::vector<fs::path>{data / "Trash", volume / ".Trash" / uid,
                                     volume / (".Trash-" + uid)}));
    auto emptied = trash.empty();
    ASSERT_TRUE(emptied) << emptied.error().message;
    EXPECT_EQ(emptied.value(), 5u);  // report, folder, link, shared, photo
    for (const auto& folder : trash.trashFolders()) {
        EXPECT_TRUE(fs::is_empty(folder / "files")) << folder;
        EXPECT_TRUE(fs::is_empty(folder / "info")) << folder;
    }
    EXPECT_FALSE(fs::exists(data / "Trash" / "directorysizes"));
    EXPECT_TRUE(fs::exists(root.path() / "kept" / "precious.txt"));
    EXPECT_TRUE(fs::exists(stranger / "elsewhere" / uid / "files" / "not-trash.txt"));

    // Empty already: nothing goes, and that is no failure.
    emptied = trash.empty();
    ASSERT_TRUE(emptied);
    EXPECT_EQ(emptied.value(), 0u);
}

}  // namespace
}  // namespace quorvane::platform::posix
