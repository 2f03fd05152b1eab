#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::platform::posix {

// Records between the program and a helper process of its own, over a
// SOCK_SEQPACKET socket: one record per message, so that records sent from
// several threads never interleave. A record is its fields joined by NUL
// (the first names its kind); one descriptor may travel with it.
constexpr std::size_t largestRecord = 64 * 1024;

struct HelperRecord {
    std::vector<std::string> fields;
    int descriptor = -1;  // received with it: the receiver's to close

    std::string_view kind() const { return fields.empty() ? std::string_view() : fields[0]; }
    // The field at `index`, empty when there is none.
    std::string_view field(std::size_t index) const {
        return index < fields.size() ? std::string_view(fields[index]) : std::string_view();
    }
};

// Joins fields into one record's bytes.
std::string recordBytes(const std::vector<std::string>& fields);

// Sends one record, with `descriptor` when it is not -1. Without `wait`, a
// full socket is a record not sent; with it, waits up to 2 s for room. False
// when it was not sent: too large, no room, or the other end gone (never a
// signal).
bool sendRecord(int socket, std::string_view bytes, int descriptor = -1, bool wait = true);
bool sendRecord(int socket, const std::vector<std::string>& fields, int descriptor = -1);

// Waits for the next record; none when the other end is gone or the socket
// fails. A descriptor beyond the first that came with it is closed.
std::optional<HelperRecord> receiveRecord(int socket);

// A decimal field: none unless it is all digits (an optional leading '-')
// and fits.
std::optional<long long> numberIn(std::string_view field);

}  // namespace quorvane::platform::posix
