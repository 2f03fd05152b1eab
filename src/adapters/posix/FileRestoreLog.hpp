#pragma once

#include <atomic>
#include <filesystem>

#include "platform/Log.hpp"
#include "platform/RestoreLog.hpp"

namespace quorvane::platform::posix {

// The restore log as one JSON object ({"nextId": ..., "entries": [...]}),
// beside the journal. Every process of the program reads and rewrites it
// whole, each change under an flock on "<name>.lock" beside it and written
// through a temporary file, fsync and rename. A file that cannot be read as
// a restore log is set aside (moveAside) with a warning and a new log
// started, so a record is never lost to it.
class FileRestoreLog final : public RestoreLog {
  public:
    // 4,096 entries of a short key and two values take well under 2 MB.
    static constexpr std::size_t maxBytes = 16 * 1024 * 1024;

    FileRestoreLog(std::filesystem::path file, Log& log);

    Result<std::uint64_t> record(RestoreEntry entry) override;
    std::vector<RestoreEntry> entries() const override;
    Status remove(const std::vector<std::uint64_t>& ids) override;

    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    Log& log_;
    std::atomic<bool> warnedFull_{false};
    std::atomic<bool> sweptTemporaries_{false};
};

}  // namespace quorvane::platform::posix
