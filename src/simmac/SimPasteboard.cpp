#include "simmac/SimPasteboard.hpp"

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::sim {

std::vector<std::string> SimPasteboard::types() const {
    std::vector<std::string> types;
    for (const auto& item : contents_)
        types.push_back(item.type);
    return types;
}

std::optional<std::string> SimPasteboard::data(const std::string& type) const {
    for (const auto& item : contents_)
        if (item.type == type)
            return item.data;
    return std::nullopt;
}

void SimPasteboard::write(const PasteboardContents& contents) {
    contents_.clear();
    // A type written twice keeps its first place and its last bytes.
    for (const auto& item : contents) {
        bool replaced = false;
        for (auto& kept : contents_)
            if (kept.type == item.type) {
                kept.data = item.data;
                replaced = true;
            }
        if (!replaced)
            contents_.push_back(item);
    }
    ++changeCount_;
}

namespace {

bool isTextual(const std::string& type) {
    return type == pasteboardType::string || type == pasteboardType::html ||
           type == pasteboardType::rtf || type == pasteboardType::url ||
           type == pasteboardType::transient;
}

}  // namespace

std::string describePasteboard(const Pasteboard& pasteboard) {
    std::string out = "change count " + std::to_string(pasteboard.changeCount()) + "\n";
    const auto contents = pasteboard.snapshot();
    if (contents.empty())
        out += "(empty)\n";
    for (const auto& item : contents) {
        out += item.type + " (" + std::to_string(item.data.size()) + " bytes)";
        if (isTextual(item.type))
            out += ": " + item.data;
        out += "\n";
    }
    return out;
}

Result<std::string> performPasteboardCommand(Pasteboard& pasteboard,
                                             const SimDesktopCommand& command) {
    if (command.kind == SimDesktopCommand::Kind::showPasteboard)
        return describePasteboard(pasteboard);
    PasteboardContents contents;
    std::size_t total = 0;
    for (const auto& source : command.pasteboard) {
        std::string bytes = source.text;
        if (!source.file.empty()) {
            // Never waits on what is named: a FIFO is refused, not read.
            auto read = posix::readFile(source.file, SimDesktopCommand::maxPasteboardBytes);
            if (!read)
                return Error{"cannot read " + source.file + ": " + read.error().message};
            if (!read.value())
                return Error{"cannot read " + source.file + ": no such file"};
            bytes = std::move(*read.value());
        }
        total += bytes.size();
        if (total > SimDesktopCommand::maxPasteboardBytes)
            return Error{"the simulated pasteboard takes at most 64 MiB"};
        contents.push_back({source.type, std::move(bytes)});
    }
    pasteboard.write(contents);
    return describePasteboard(pasteboard);
}

}  // namespace quorvane::platform::sim
