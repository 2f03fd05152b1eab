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

void printJournal(const platform::Journal& journal, bool json, std::ostream& out) {
    for (const auto& entry : journal.entries()) {
        if (json) {
            out << nlohmann::json{{"time", entry.time},
                                  {"cause", entry.cause},
                                  {"kind", entry.kind},
                                  {"detail", entry.detail}}
                       .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                << "\n";
        } else {
            out << entry.time << "  " << entry.cause << "  " << entry.kind << "  "
                << oneLine(entry.detail) << "\n";
        }
    }
}

}  // namespace quorvane::cli
