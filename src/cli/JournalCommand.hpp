#pragma once

#include <ostream>

#include "platform/Journal.hpp"

namespace quorvane::cli {

struct JournalOptions {
    // One JSON object a line rather than text.
    bool json = false;
    // The input watched and made too (monitors, taps, posted events).
    bool withInput = false;
};

// Oldest first, the lines `platform::readableJournal` makes (each run of
// repeats timed by its latest): "time  cause  kind  detail", a run ending
// "  ×N"; or as JSON objects with their weight and count. Line breaks
// inside a detail are shown as "\n".
void printJournal(const platform::Journal& journal, JournalOptions options, std::ostream& out);

}  // namespace quorvane::cli
