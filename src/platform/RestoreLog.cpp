#include "platform/RestoreLog.hpp"

#include <algorithm>

#include "platform/Journal.hpp"

namespace quorvane::platform {

namespace {

// Enough for a key's value or a path on one line of a terminal.
constexpr std::size_t valueTextCodePoints = 80;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string restoreValueText(const std::optional<std::string>& value) {
    if (!value)
        return "absent";
    std::string text;
    text.reserve(std::min(value->size(), valueTextCodePoints * 4));
    std::size_t codePoints = 0;
    for (std::size_t i = 0; i < value->size(); ++i) {
        const char c = (*value)[i];
        if (!isContinuationByte(c) && ++codePoints > valueTextCodePoints)
            return text + "…";
        if (c == '\r' && i + 1 < value->size() && (*value)[i + 1] == '\n')
            continue;  // one space for a CR LF
        text.push_back(c == '\n' || c == '\r' ? ' ' : c);
    }
    return text;
}

RestoreRecorded recordInto(std::vector<RestoreEntry>& entries, RestoreEntry entry,
                           std::uint64_t& nextId) {
    // Ids are never reused, even after a file that lost its counter.
    for (const auto& kept : entries)
        nextId = std::max(nextId, kept.id + 1);
    nextId = std::max<std::uint64_t>(nextId, 1);
    entry.time = journalTimestamp();

    RestoreRecorded recorded;
    auto same = std::find_if(entries.begin(), entries.end(), [&](const RestoreEntry& kept) {
        return kept.cause == entry.cause && kept.kind == entry.kind && kept.target == entry.target;
    });
    if (same != entries.end()) {
        recorded.id = same->id;
        // Undone by the tweak itself: nothing to put back. A deletion is
        // never undone, however often it is repeated.
        if (same->restorable && entry.restorable && entry.after == same->before) {
            entries.erase(same);
            return recorded;
        }
        same->after = std::move(entry.after);
        same->time = std::move(entry.time);
        if (!entry.restorable) {
            same->restorable = false;
            same->note = std::move(entry.note);
        }
        return recorded;
    }

    entry.id = nextId++;
    recorded.id = entry.id;
    entries.push_back(std::move(entry));
    // The new entry itself is never given up.
    while (entries.size() > RestoreLog::maxEntries) {
        auto oldest = std::find_if(entries.begin(), entries.end() - 1,
                                   [](const RestoreEntry& kept) { return !kept.restorable; });
        entries.erase(oldest != entries.end() - 1 ? oldest : entries.begin());
        ++recorded.dropped;
    }
    return recorded;
}

}  // namespace quorvane::platform
