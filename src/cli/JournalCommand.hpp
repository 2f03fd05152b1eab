#pragma once

#include <ostream>

#include "platform/Journal.hpp"

namespace quorvane::cli {

// One line per effect, oldest first: "time  cause  kind  detail", or one
// JSON object per line. Line breaks inside a detail are shown as "\n".
void printJournal(const platform::Journal& journal, bool json, std::ostream& out);

}  // namespace quorvane::cli
