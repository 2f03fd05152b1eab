#pragma once

#include <string_view>

#include "platform/Journal.hpp"
#include "platform/Pasteboard.hpp"

namespace quorvane::platform {

// Journals a tweak's pasteboard write by its types and sizes, never its
// content: the clipboard holds passwords.
void journalPasteboardWrite(Journal& journal, std::string_view cause,
                            const PasteboardContents& contents);

}  // namespace quorvane::platform
