#include "text/PasteboardJournal.hpp"

#include <string>

namespace quorvane::text {

void journalPasteboardWrite(platform::Journal& journal, std::string_view cause,
                            const platform::PasteboardContents& contents) {
    std::string detail;
    for (const auto& item : contents) {
        if (!detail.empty())
            detail += ", ";
        detail += item.type + " " + std::to_string(item.data.size()) +
                  (item.data.size() == 1 ? " byte" : " bytes");
    }
    journal.record(cause, "pasteboard", detail.empty() ? "cleared" : detail);
}

}  // namespace quorvane::text
