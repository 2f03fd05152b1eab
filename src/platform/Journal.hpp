#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

// One effect the program had on the system.
struct JournalEntry {
    std::string time;    // UTC, ISO 8601 with milliseconds
    std::string cause;   // the tweak (or service) that caused it
    std::string kind;    // "command", "script", "restart", "admin prompt", "pasteboard", ...
    std::string detail;  // what exactly; never a secret, at most a short preview of user data

    bool operator==(const JournalEntry&) const = default;
};

// The activity journal: what did Quorvane change on this machine? Written
// from any thread; bounded, so it never grows without limit.
class Journal {
  public:
    static constexpr std::size_t maxDetailBytes = 512;

    virtual ~Journal() = default;
    virtual void record(std::string_view cause, std::string_view kind, std::string_view detail) = 0;
    // Oldest first.
    virtual std::vector<JournalEntry> entries() const = 0;
};

// The current UTC time as the journal writes it.
std::string journalTimestamp();
// Cuts a detail to the journal's limit without splitting a UTF-8 character.
std::string journalDetail(std::string_view detail);

}  // namespace quorvane::platform
