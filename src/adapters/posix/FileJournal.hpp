#pragma once

#include <filesystem>
#include <mutex>

#include "platform/Journal.hpp"
#include "platform/Log.hpp"

namespace quorvane::platform::posix {

// The journal as JSON lines in a file, appended by every process of the
// program. Each line carries its weight; a line without one (written before
// lines had it) reads as a change. When the file passes `maxBytes` it
// becomes "<name>.1" (replacing the older one) and a new file starts, so at
// most twice that is kept.
class FileJournal final : public Journal {
  public:
    static constexpr std::size_t defaultMaxBytes = 1024 * 1024;

    FileJournal(std::filesystem::path file, Log& log, std::size_t maxBytes = defaultMaxBytes);

    using Journal::record;
    void record(std::string_view cause, std::string_view kind, std::string_view detail,
                JournalWeight weight) override;
    std::vector<JournalEntry> entries() const override;
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path rotated() const;
    // A file may pass `maxBytes` by the lines appended before its rotation;
    // one larger than this was not written as a journal and is set aside.
    std::size_t largestKept() const { return 4 * maxBytes_; }

    std::filesystem::path file_;
    Log& log_;
    std::size_t maxBytes_;
    mutable std::mutex mutex_;
};

}  // namespace quorvane::platform::posix
