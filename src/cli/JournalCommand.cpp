#include "cli/JournalCommand.hpp"

#include <nlohmann/json.hpp>

namespace quorvane::cli {

namespace {

std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\t')
            line += ' ';
        else
            line += c;
    }
    return line;
}

}  // namespace

void printJournal(const platform::Journal& journal, JournalOptions options, std::ostream& out) {
    for (const auto& [entry, count] :
         platform::readableJournal(journal.entries(), options.withInput)) {
        if (options.json) {
            out << nlohmann::json{{"time", entry.time},
                                  {"cause", entry.cause},
                                  {"kind", entry.kind},
                                  {"detail", entry.detail},
                                  {"weight", platform::journalWeightName(entry.weight)},
                                  {"count", count}}
                       .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                << "\n";
            continue;
        }
        out << entry.time << "  " << entry.cause << "  " << entry.kind << "  "
            << oneLine(entry.detail);
        if (count > 1)
            out << "  ×" << count;
        out << "\n";
    }
}

}  // namespace quorvane::cli
