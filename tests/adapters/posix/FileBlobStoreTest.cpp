#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "adapters/posix/FileBlobStore.hpp"
#include "support/TemporaryDirectory.hpp"

namespace quorvane::platform::posix {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileBlobStore, createsAPrivateFolderAndReplacesBlobsWhole) {
    testing::TemporaryDirectory temporary;
    const fs::path folder = temporary.path() / "data/com.tarnvell.Quorvane/Default";
    auto opened = FileBlobStore::open(folder);
    ASSERT_TRUE(opened) << opened.error().message;
    auto& store = *opened.value();

    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    auto missing = store.load("preference");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing.value());

    ASSERT_TRUE(store.save("preference", R"({"a":1})"));
    ASSERT_TRUE(store.save("preference", R"({"a":2})"));
    EXPECT_EQ(store.load("preference").value(), R"({"a":2})");
    EXPECT_EQ(entries(folder), std::vector<std::string>{"preference.json"});  // no temporary left
}

TEST(FileBlobStore, movesAnUnreadableBlobAsideKeepingItsBytes) {
    testing::TemporaryDirectory temporary;
    auto store = std::move(FileBlobStore::open(temporary.path()).value());
    ASSERT_TRUE(store->save("pState", "garbage"));
    auto first = store->moveAside("pState");
    ASSERT_TRUE(first);
    ASSERT_TRUE(store->save("pState", "more garbage"));
    auto second = store->moveAside("pState");
    ASSERT_TRUE(second);
    EXPECT_NE(first.value(), second.value());
    EXPECT_NE(first.value().find("pState.json.undecodable-"), std::string::npos);

    std::ifstream kept(first.value());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "garbage");
    EXPECT_FALSE(store->load("pState").value());
}

TEST(FileBlobStore, refusesKeysThatCouldEscapeItsFolderAndOversizedFiles) {
    testing::TemporaryDirectory temporary;
    auto store = std::move(FileBlobStore::open(temporary.path() / "records").value());
    for (const char* key : {"../evil", "a/b", "", ".hidden", "x\ny"}) {
        EXPECT_FALSE(store->save(key, "{}")) << key;
        EXPECT_FALSE(store->load(key)) << key;
    }
    EXPECT_TRUE(store->save("AutomationManager.automation", "{}"));

    std::ofstream huge(store->pathFor("huge"));
    huge.seekp(static_cast<std::streamoff>(FileBlobStore::maxBlobBytes));
    huge.put('x');
    huge.close();
    auto loaded = store->load("huge");
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.error().message.find("larger than"), std::string::npos);
}

// A FIFO in a record's place must not hang start-up; a killed save's
// temporary must not stay forever.
TEST(FileBlobStore, aSpecialFileIsRefusedAtOnceAndStaleTemporariesGo) {
    testing::TemporaryDirectory temporary;
    const fs::path folder = temporary.path() / "Default";
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo((folder / "preference.json").c_str(), 0600), 0);
    std::ofstream(folder / ".pState.json.Ab12Cd") << "{";
    std::ofstream(folder / ".pState.json.keep") << "not ours";
    std::ofstream(folder / "notes.txt") << "not ours";
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {".pState.json.Ab12Cd", ".pState.json.keep", "notes.txt"})
        fs::last_write_time(folder / name, old);

    auto opened = FileBlobStore::open(folder);
    ASSERT_TRUE(opened);
    auto loaded = opened.value()->load("preference");
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.error().message.find("not a regular file"), std::string::npos);
    ASSERT_TRUE(opened.value()->moveAside("preference"));
    auto left = entries(folder);
    EXPECT_EQ(left.size(), 3u);
    EXPECT_FALSE(fs::exists(folder / ".pState.json.Ab12Cd"));
    EXPECT_TRUE(fs::exists(folder / ".pState.json.keep"));
}

TEST(FileBlobStore, failsToOpenWhereNoFolderCanBeMade) {
    testing::TemporaryDirectory temporary;
    std::ofstream(temporary.path() / "file") << "x";
    EXPECT_FALSE(FileBlobStore::open(temporary.path() / "file" / "Default"));
}

}  // namespace
}  // namespace quorvane::platform::posix
