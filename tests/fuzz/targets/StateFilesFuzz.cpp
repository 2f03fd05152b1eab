// The files the program reads at start-up beside its records: the user's
// settings, the restore log, the journal, the simulated Mac's displays, the
// mice's scrolling left reversed and the emoji table. The first byte picks
// the file, the rest is what it holds.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "FuzzCheck.hpp"
#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/memory/MemoryLog.hpp"
#include "adapters/posix/FileJournal.hpp"
#include "adapters/posix/FileRestoreLog.hpp"
#include "adapters/posix/JsonFileUserDefaults.hpp"
#include "input/mouse/ScrollReversal.hpp"
#include "simmac/SimDisplays.hpp"
#include "text/emoji/EmojiLoader.hpp"

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

// The folder emptied, with `bytes` as its one file.
fs::path placed(const std::string& name, const std::string& bytes) {
    for (const auto& entry : fs::directory_iterator(fuzz::folder()))
        fs::remove_all(entry.path());
    const auto file = fuzz::folder() / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

// Whether the bytes are still there, as the file or set aside beside it.
bool kept(const fs::path& file, const std::string& bytes) {
    for (const auto& entry : fs::directory_iterator(file.parent_path()))
        if (entry.is_regular_file() && fuzz::contents(entry.path()) == bytes)
            return true;
    return false;
}

void userDefaults(const std::string& bytes) {
    platform::memory::MemoryLog log;
    const auto file = placed("UserDefaults.json", bytes);
    {
        platform::posix::JsonFileUserDefaults defaults(file, log);
        // A file it cannot use is moved aside, never lost; a change is
        // written through and read again.
        FUZZ_CHECK(bytes.empty() || kept(file, bytes), "the settings were lost");
        defaults.set("Fuzz.flag", true);
    }
    platform::posix::JsonFileUserDefaults again(file, log, true);
    const auto flag = again.value("Fuzz.flag");
    FUZZ_CHECK(flag && std::holds_alternative<bool>(*flag) && std::get<bool>(*flag), fuzz::contents(file));
}

void restoreLog(const std::string& bytes) {
    platform::memory::MemoryLog log;
    const auto file = placed("restore.json", bytes);
    platform::posix::FileRestoreLog restore(file, log);
    const auto before = restore.entries();
    std::set<std::uint64_t> ids;
    for (const auto& entry : before)
        FUZZ_CHECK(ids.insert(entry.id).second, "two entries share a number");
    platform::RestoreEntry entry;
    entry.cause = "Fuzz";
    entry.kind = "preference";
    entry.target = "com.example key";
    entry.after = "1";
    const auto recorded = restore.record(entry);
    if (!recorded)
        return;
    // A new entry's number is its own: restoring it must not touch another.
    FUZZ_CHECK(!ids.contains(recorded.value()), "a number was given twice");
    const auto after = restore.entries();
    FUZZ_CHECK(!after.empty(), "the new entry is missing");
}

void journal(const std::string& bytes) {
    platform::memory::MemoryLog log;
    const auto file = placed("journal.jsonl", bytes);
    platform::posix::FileJournal fileJournal(file, log);
    platform::Journal& journal = fileJournal;
    (void)journal.entries();
    journal.record("Fuzz", "test", "a line");
    const auto entries = journal.entries();
    FUZZ_CHECK(!entries.empty() && entries.back().detail == "a line", "the new line is missing");
}

void displays(const std::string& bytes) {
    platform::memory::MemoryJournal journal;
    const auto file = placed("displays.json", bytes);
    platform::sim::SimDisplays displays(journal, file);
    const auto screens = displays.screens();
    FUZZ_CHECK(!screens.empty() && screens.size() <= 16, bytes);
    for (const auto& screen : screens)
        FUZZ_CHECK(screen.frame.size.width > 0 && screen.frame.size.height > 0, bytes);
}

void scrolling(const std::string& bytes) {
    const auto originals = input::decodeOriginals(bytes);
    if (!originals)
        return;
    const auto saved = input::encodeOriginals(*originals);
    const auto again = input::decodeOriginals(saved);
    FUZZ_CHECK(again && input::encodeOriginals(*again) == saved, saved);
}

void emojiTable(const std::string& bytes) {
    platform::memory::MemoryLog log;
    text::EmojiLoader loader("emoji.json", log,
                             [&bytes](const fs::path&, std::size_t maxBytes)
                                 -> platform::Result<std::optional<std::string>> {
                                 if (bytes.size() > maxBytes)
                                     return std::optional<std::string>();
                                 return std::optional<std::string>(bytes);
                             });
    for (const auto& emoji : loader.load())
        FUZZ_CHECK(!emoji.emoji.empty(), bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const auto bytes = fuzz::bytes(data + 1, size - 1);
    switch (data[0] % 6) {
        case 0: userDefaults(bytes); break;
        case 1: restoreLog(bytes); break;
        case 2: journal(bytes); break;
        case 3: displays(bytes); break;
        case 4: scrolling(bytes); break;
        default: emojiTable(bytes); break;
    }
    return 0;
}
