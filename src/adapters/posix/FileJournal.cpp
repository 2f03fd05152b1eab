#include "adapters/posix/FileJournal.hpp"

#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

FileJournal::FileJournal(std::filesystem::path file, Log& log, std::size_t maxBytes)
    : file_(std::move(file)), log_(log), maxBytes_(maxBytes) {}

std::filesystem::path FileJournal::rotated() const {
    return file_.string() + ".1";
}

void FileJournal::record(std::string_view cause, std::string_view kind, std::string_view detail,
                         JournalWeight weight) {
    const nlohmann::json entry{{"time", journalTimestamp()},
                               {"cause", cause},
                               {"kind", kind},
                               {"detail", journalDetail(detail)},
                               {"weight", journalWeightName(weight)}};
    std::string line =
        entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";

    std::lock_guard lock(mutex_);
    if (auto made = makePrivateDirectory(file_.parent_path()); !made) {
        log_.error("Journal", made.error().message);
        return;
    }
    // Never waits: a FIFO, a folder or a runaway file in the journal's place
    // is set aside and a new journal started.
    auto opened = openOwnFile(file_, FileAccess::append, largestKept(), log_, "Journal");
    if (opened && opened.value()->size >= maxBytes_) {
        ::rename(file_.c_str(), rotated().c_str());
        opened = openOwnFile(file_, FileAccess::append, largestKept(), log_, "Journal");
    }
    if (!opened) {
        log_.error("Journal", "cannot write " + file_.string() + ": " + opened.error().message);
        return;
    }
    const int fd = opened.value()->descriptor.get();
    // A line a crash cut short has no line feed: this one starts on a line
    // of its own, or it would be lost with the torn one.
    char last = '\n';
    if (const auto size = opened.value()->size;
        size > 0 && ::pread(fd, &last, 1, static_cast<off_t>(size - 1)) == 1 && last != '\n')
        line.insert(line.begin(), '\n');
    // One write per line: appends from several processes never interleave.
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        log_.error("Journal", "cannot write " + file_.string());
}

std::vector<JournalEntry> FileJournal::entries() const {
    std::lock_guard lock(mutex_);
    std::vector<JournalEntry> entries;
    for (const auto& path : {rotated(), file_}) {
        auto bytes = readFile(path, largestKept());
        if (!bytes || !bytes.value())
            continue;
        std::istringstream lines(*bytes.value());
        for (std::string line; std::getline(lines, line);) {
            auto json = nlohmann::json::parse(line, nullptr, false);
            if (!json.is_object())
                continue;  // a line cut short by a crash
            auto text = [&json](const char* key) {
                auto found = json.find(key);
                return found != json.end() && found->is_string() ? found->get<std::string>()
                                                                 : std::string();
            };
            entries.push_back({text("time"), text("cause"), text("kind"), text("detail"),
                               journalWeightNamed(text("weight"))});
        }
    }
    return entries;
}

}  // namespace quorvane::platform::posix
