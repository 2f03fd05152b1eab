#pragma once

#include <algorithm>
#include <mutex>

#include "platform/RestoreLog.hpp"

namespace quorvane::platform::memory {

// The restore log of one process, folding and bounding as the file does.
class MemoryRestoreLog final : public RestoreLog {
  public:
    Result<std::uint64_t> record(RestoreEntry entry) override {
        std::lock_guard lock(mutex_);
        return recordInto(entries_, std::move(entry), nextId_).id;
    }
    std::vector<RestoreEntry> entries() const override {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    Status remove(const std::vector<std::uint64_t>& ids) override {
        std::lock_guard lock(mutex_);
        std::erase_if(entries_, [&](const RestoreEntry& entry) {
            return std::find(ids.begin(), ids.end(), entry.id) != ids.end();
        });
        return success();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<RestoreEntry> entries_;
    std::uint64_t nextId_ = 1;
};

}  // namespace quorvane::platform::memory
