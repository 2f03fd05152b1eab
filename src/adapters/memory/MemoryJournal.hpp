#pragma once

#include <mutex>

#include "platform/Journal.hpp"

namespace quorvane::platform::memory {

class MemoryJournal final : public Journal {
  public:
    using Journal::record;
    void record(std::string_view cause, std::string_view kind, std::string_view detail,
                JournalWeight weight) override {
        std::lock_guard lock(mutex_);
        entries_.push_back({journalTimestamp(), std::string(cause), std::string(kind),
                            journalDetail(detail), weight});
    }
    std::vector<JournalEntry> entries() const override {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    // A long run (a fuzz target's) forgets what it has checked.
    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }
    // "cause kind detail" per entry, for compact assertions.
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& entry : entries())
            out.push_back(entry.cause + " " + entry.kind + " " + entry.detail);
        return out;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<JournalEntry> entries_;
};

}  // namespace quorvane::platform::memory
