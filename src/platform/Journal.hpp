#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform {

// What an entry is to its reader: a change made to the machine, or the
// input the program watched and made (monitors and taps started and
// stopped, events posted, key clicks played), which is shown on request.
enum class JournalWeight { change, input };

// One effect the program had on the system.
struct JournalEntry {
    std::string time;    // UTC, ISO 8601 with milliseconds
    std::string cause;   // the tweak (or service) that caused it
    std::string kind;    // "command", "script", "restart", "admin prompt", "pasteboard", ...
    std::string detail;  // what exactly; never a secret, at most a short preview of user data
    JournalWeight weight = JournalWeight::change;

    bool operator==(const JournalEntry&) const = default;
};

// The activity journal: what did Quorvane change on this machine? Written
// from any thread; bounded, so it never grows without limit.
class Journal {
  public:
    static constexpr std::size_t maxDetailBytes = 512;

    virtual ~Journal() = default;
    virtual void record(std::string_view cause, std::string_view kind, std::string_view detail,
                        JournalWeight weight) = 0;
    // A change.
    void record(std::string_view cause, std::string_view kind, std::string_view detail) {
        record(cause, kind, detail, JournalWeight::change);
    }
    // Input watched or made.
    void recordInput(std::string_view cause, std::string_view kind, std::string_view detail) {
        record(cause, kind, detail, JournalWeight::input);
    }
    // Oldest first.
    virtual std::vector<JournalEntry> entries() const = 0;
};

// "change" or "input", as the journal's file holds it; anything else
// (a line written before entries had a weight) reads as a change.
std::string_view journalWeightName(JournalWeight weight);
JournalWeight journalWeightNamed(std::string_view name);

// One line of the journal as people read it: a run of equal entries (same
// cause, kind, detail and weight, one after the other once the input is
// left out) as its latest one and how many there were.
struct JournalLine {
    JournalEntry entry;
    std::size_t count = 1;
};

// The journal as the Activity page and `quorvane journal` show it, oldest
// first: the changes, and the input too with `withInput`, each run of
// repeats folded into one line. The entries themselves stay as they are.
std::vector<JournalLine> readableJournal(const std::vector<JournalEntry>& entries, bool withInput);

// The current UTC time as the journal writes it.
std::string journalTimestamp();
// Cuts a detail to the journal's limit without splitting a UTF-8 character.
std::string journalDetail(std::string_view detail);

}  // namespace quorvane::platform
