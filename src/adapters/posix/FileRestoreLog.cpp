#include "adapters/posix/FileRestoreLog.hpp"

#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::string_view source = "RestoreLog";

struct Contents {
    std::uint64_t nextId = 1;
    std::vector<RestoreEntry> entries;
};

// Held while this process reads and rewrites the log; let go with the
// descriptor. flock belongs to the open file, so two logs on the same file
// in one process keep out of each other's way as two processes do.
Result<FileDescriptor> lockLog(const fs::path& file, Log& log) {
    if (auto made = makePrivateDirectory(file.parent_path()); !made)
        return made.error();
    const fs::path path = file.string() + ".lock";
    // Never written; anything but a small file in its place is set aside.
    auto opened = openOwnFile(path, FileAccess::append, 4096, log, source);
    if (!opened)
        return Error{"cannot lock " + file.string() + ": " + opened.error().message};
    FileDescriptor fd = std::move(opened.value()->descriptor);
    // Waits, woken as soon as the holder lets go: trying again now and then
    // could miss every short gap between another process's changes. A
    // holder only reads and rewrites one small file.
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return Error{"cannot lock " + file.string() + ": " + std::strerror(errno)};
    }
    return Result<FileDescriptor>(std::move(fd));
}

Result<std::string> readAll(int fd, const fs::path& file) {
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Error{"cannot read " + file.string() + ": " + std::strerror(errno)};
        }
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > FileRestoreLog::maxBytes)
            return Error{file.string() + " grew past its bound while read"};
    }
}

struct Undecodable {
    std::string why;
};

std::uint64_t unsignedAt(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_unsigned())
        throw Undecodable{std::string("no whole number \"") + key + "\""};
    return found->get<std::uint64_t>();
}

std::string textAt(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_string())
        throw Undecodable{std::string("no text \"") + key + "\""};
    return found->get<std::string>();
}

// Nothing (null or left out) stands for absent.
std::optional<std::string> valueAt(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return std::nullopt;
    if (!found->is_string())
        throw Undecodable{std::string("\"") + key + "\" is neither text nor null"};
    return found->get<std::string>();
}

std::optional<Contents> decode(const std::string& bytes, std::string& problem) {
    // A NUL ends the parser's input early: what follows would go unseen.
    if (bytes.find('\0') != std::string::npos) {
        problem = "it holds a NUL byte";
        return std::nullopt;
    }
    const auto document = json::parse(bytes, nullptr, false);
    if (!document.is_object()) {
        problem = "it is not a JSON object";
        return std::nullopt;
    }
    try {
        Contents contents;
        contents.nextId = unsignedAt(document, "nextId");
        const auto list = document.find("entries");
        if (list == document.end() || !list->is_array())
            throw Undecodable{"no list \"entries\""};
        for (const auto& item : *list) {
            if (!item.is_object())
                throw Undecodable{"an entry is not an object"};
            RestoreEntry entry;
            entry.id = unsignedAt(item, "id");
            entry.time = textAt(item, "time");
            entry.cause = textAt(item, "cause");
            entry.kind = textAt(item, "kind");
            entry.target = textAt(item, "target");
            entry.before = valueAt(item, "before");
            entry.after = valueAt(item, "after");
            const auto restorable = item.find("restorable");
            if (restorable != item.end() && !restorable->is_boolean())
                throw Undecodable{"\"restorable\" is not true or false"};
            entry.restorable = restorable == item.end() || restorable->get<bool>();
            entry.note = valueAt(item, "note").value_or("");
            contents.entries.push_back(std::move(entry));
        }
        // An entry is put back by its number: two with one number, or a
        // number the next entry would be given again, is a damaged log.
        std::set<std::uint64_t> numbers;
        for (const auto& entry : contents.entries)
            if (!numbers.insert(entry.id).second)
                throw Undecodable{"two entries are numbered " + std::to_string(entry.id)};
        if (contents.nextId == UINT64_MAX || (!numbers.empty() && *numbers.rbegin() >= contents.nextId))
            throw Undecodable{"\"nextId\" is not past every entry's number"};
        return contents;
    } catch (const Undecodable& failure) {
        problem = failure.why;
        return std::nullopt;
    }
}

json valueJson(const std::optional<std::string>& value) {
    return value ? json(*value) : json(nullptr);
}

// One line per entry, so a person can read it and a diff shows what changed.
Result<std::string> encode(const Contents& contents) {
    std::string text = "{\"nextId\": " + std::to_string(contents.nextId) + ", \"entries\": [";
    try {
        for (std::size_t i = 0; i < contents.entries.size(); ++i) {
            const auto& entry = contents.entries[i];
            json item{{"id", entry.id},
                      {"time", entry.time},
                      {"cause", entry.cause},
                      {"kind", entry.kind},
                      {"target", entry.target},
                      {"before", valueJson(entry.before)},
                      {"after", valueJson(entry.after)},
                      {"restorable", entry.restorable}};
            if (!entry.note.empty())
                item["note"] = entry.note;
            text += (i == 0 ? "\n  " : ",\n  ") + item.dump();
        }
    } catch (const json::exception&) {
        // A value changed in the writing would put back something else.
        return Error{"a change holds text that is not UTF-8"};
    }
    text += contents.entries.empty() ? "]}\n" : "\n]}\n";
    return text;
}

void setAside(const fs::path& file, const std::string& problem, Log& log) {
    auto aside = moveAside(file);
    if (aside)
        log.warning(source, "cannot read " + file.string() + " (" + problem + "); kept it as " +
                                aside.value().string() + " and started a new log");
    else
        log.error(source, "cannot read " + file.string() + " (" + problem +
                              ") nor move it aside (" + aside.error().message +
                              "); the next change starts a new log over it");
}

// Call with the lock held.
Result<Contents> readContents(const fs::path& file, Log& log) {
    auto opened = openOwnFile(file, FileAccess::read, FileRestoreLog::maxBytes, log, source);
    if (!opened)
        return opened.error();
    if (!opened.value())
        return Contents{};  // none yet, or what was there is set aside
    auto bytes = readAll(opened.value()->descriptor.get(), file);
    if (!bytes)
        return bytes.error();
    std::string problem;
    if (auto decoded = decode(bytes.value(), problem))
        return std::move(*decoded);
    setAside(file, problem, log);
    return Contents{};
}

// Call with the lock held.
Status writeContents(const fs::path& file, const Contents& contents) {
    auto text = encode(contents);
    if (!text)
        return text.error();
    return writeFileAtomically(file, text.value());
}

}  // namespace

FileRestoreLog::FileRestoreLog(std::filesystem::path file, Log& log)
    : file_(std::move(file)), log_(log) {}

Result<std::uint64_t> FileRestoreLog::record(RestoreEntry entry) {
    auto held = lockLog(file_, log_);
    if (!held)
        return held.error();
    if (!sweptTemporaries_.exchange(true))
        // Every write is made under the lock: with it held, none is under way.
        removeStaleTemporariesOf(file_, fs::file_time_type::max());
    auto contents = readContents(file_, log_);
    if (!contents)
        return contents.error();
    const auto recorded =
        recordInto(contents.value().entries, std::move(entry), contents.value().nextId);
    if (recorded.dropped > 0 && !warnedFull_.exchange(true))
        log_.warning(source, file_.string() + " holds " + std::to_string(maxEntries) +
                                 " changes; the oldest are given up, those that cannot be put "
                                 "back first");
    if (auto written = writeContents(file_, contents.value()); !written)
        return written.error();
    return recorded.id;
}

std::vector<RestoreEntry> FileRestoreLog::entries() const {
    std::error_code error;
    if (fs::symlink_status(file_, error).type() == fs::file_type::not_found)
        return {};  // nothing changed yet: no need to make the folder and the lock
    auto held = lockLog(file_, log_);
    if (!held) {
        log_.error(source, held.error().message);
        return {};
    }
    auto contents = readContents(file_, log_);
    if (!contents) {
        log_.error(source, contents.error().message);
        return {};
    }
    return std::move(contents.value().entries);
}

Status FileRestoreLog::remove(const std::vector<std::uint64_t>& ids) {
    if (ids.empty())
        return success();
    auto held = lockLog(file_, log_);
    if (!held)
        return held.error();
    auto contents = readContents(file_, log_);
    if (!contents)
        return contents.error();
    auto& kept = contents.value().entries;
    const auto removed = std::erase_if(kept, [&](const RestoreEntry& entry) {
        return std::find(ids.begin(), ids.end(), entry.id) != ids.end();
    });
    if (removed == 0)
        return success();
    return writeContents(file_, contents.value());
}

}  // namespace quorvane::platform::posix
