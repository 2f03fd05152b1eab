#include "platform/PasteboardJournal.hpp"

#include <string>

namespace quorvane::platform {

void journalPasteboardWrite(Journal& journal, std::string_view cause,
                            const PasteboardContents& contents) {
    std::string detail;
    for (const auto& item : contents) {
        if (!detail.empty())
            detail += ", ";
        detail += item.type + " " + std::to_string(item.data.size()) +
                  (item.data.size() == 1 ? " byte" : " bytes");
    }
    journal.record(cause, "pasteboard", detail.empty() ? "cleared" : detail);
}

}  // namespace quorvane::platform
