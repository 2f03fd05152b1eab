#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.hpp"

namespace quorvane::platform {

// One lasting change the program made to the machine, with what it
// replaced: enough to put it back. Never a secret (no pasteboard content,
// no typed keys).
struct RestoreEntry {
    std::uint64_t id = 0;  // increasing, never reused; set by the log
    std::string time;      // UTC, as the journal writes it: the latest change
    std::string cause;     // the tweak (or "Restore")
    // What kind of state, which says who reads and writes it back:
    // "preference", "file", "display", "input", "system", "switch".
    std::string kind;
    // Which one, in the kind's own words: "com.apple.dock autohide",
    // "-currentHost com.apple.screensaver idleTime", a path...
    std::string target;
    // The value it replaced and the value written, in the kind's own text;
    // nothing: absent (a key not set, a file not there).
    std::optional<std::string> before;
    std::optional<std::string> after;
    // False for a change kept only to be told (a deletion: no copy is
    // kept); `note` then says why.
    bool restorable = true;
    std::string note{};

    bool operator==(const RestoreEntry&) const = default;
};

// What the program changed and has not put back, beside the journal. Every
// process of the program writes it (the command line without a running
// instance too); written whole and atomically, so a kill never leaves half
// of it. Bounded by compaction, not rotation: a change to a target the same
// cause changed already, and that is not restored yet, keeps the first
// `before` and takes the new `after`, so the oldest state of each thing is
// never lost. Any thread.
class RestoreLog {
  public:
    // Past this many entries the oldest that cannot be put back go first,
    // then the oldest of all.
    static constexpr std::size_t maxEntries = 4096;

    virtual ~RestoreLog() = default;
    // Records a change (its `id` and `time` are set here); answers the
    // entry's id, or that of the entry it was folded into (which is gone
    // when the change undid it).
    virtual Result<std::uint64_t> record(RestoreEntry entry) = 0;
    // Oldest first.
    virtual std::vector<RestoreEntry> entries() const = 0;
    // Forgets entries once put back.
    virtual Status remove(const std::vector<std::uint64_t>& ids) = 0;
};

// The entry's before and after as a person reads them: "absent" for
// nothing, the text cut to a line otherwise.
std::string restoreValueText(const std::optional<std::string>& value);

// What recordInto did.
struct RestoreRecorded {
    std::uint64_t id = 0;     // the new entry's, or the one it was folded into
    std::size_t dropped = 0;  // old entries given up to stay within maxEntries
};

// How every RestoreLog records, on its entries (oldest first): sets the
// entry's id (from `nextId`, which moves on) and time, folds it into an
// entry of the same cause, kind and target (which keeps its id and
// `before`, takes the rest, and goes when the change is undone: its new
// `after` is the kept `before`), and keeps within maxEntries.
RestoreRecorded recordInto(std::vector<RestoreEntry>& entries, RestoreEntry entry,
                           std::uint64_t& nextId);

}  // namespace quorvane::platform
