// Thunar's uca.xml, which holds the user's own actions: the program merges
// its actions in and takes them out again, and must never lose the user's.

#include <filesystem>
#include <fstream>

#include "FuzzCheck.hpp"
#include "adapters/qt/XdgFileManagerActions.hpp"

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

std::string thunarError(const std::vector<platform::FileManagerReport>& reports) {
    for (const auto& report : reports)
        if (report.fileManager == "Thunar")
            return report.error;
    return "no report for Thunar";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::bytes(data, size);
    fs::remove_all(fuzz::folder() / "config");
    fs::remove_all(fuzz::folder() / "state");
    const auto file = fuzz::folder() / "config/Thunar/uca.xml";
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;

    platform::qt::XdgFileManagerActions actions(
        {fuzz::folder() / "data", fuzz::folder() / "config", fuzz::folder() / "state/file-manager-actions.json",
         "/usr/bin/quorvane", ""});
    const std::vector<platform::FileAction> ours{
        {"copyPath", "Copy Path", "Copy file path to clipboard", "edit-copy"},
        {"newFolder", "New Folder", "Create a folder here", "folder-new"}};
    const auto first = thunarError(actions.install(ours));
    if (!first.empty()) {
        // A file it cannot merge into is left exactly as it was.
        FUZZ_CHECK(fuzz::contents(file) == bytes, first);
        return 0;
    }
    const auto merged = fuzz::contents(file);
    FUZZ_CHECK(merged.find("quorvane-copyPath") != std::string::npos, merged);
    // Installing again changes nothing; taking ours out leaves none of ours,
    // and what is left still reads.
    FUZZ_CHECK(thunarError(actions.install(ours)).empty(), merged);
    FUZZ_CHECK(fuzz::contents(file) == merged, merged);
    FUZZ_CHECK(thunarError(actions.remove()).empty(), merged);
    const auto removed = fuzz::contents(file);
    FUZZ_CHECK(removed.find("<unique-id>quorvane-") == std::string::npos, removed);
    FUZZ_CHECK(thunarError(actions.install(ours)).empty(), removed);
    return 0;
}
