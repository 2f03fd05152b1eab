#pragma once

#include <string_view>

#include "platform/Journal.hpp"
#include "platform/Pasteboard.hpp"

namespace quorvane::text {

// Journals a tweak's pasteboard write by its types and sizes, never its
// content: the clipboard holds passwords.
void journalPasteboardWrite(platform::Journal& journal, std::string_view cause,
                            const platform::PasteboardContents& contents);

}  // namespace quorvane::text
