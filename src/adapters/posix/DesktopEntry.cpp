#include "adapters/posix/DesktopEntry.hpp"

#include <sstream>
#include <vector>

#include "platform/Quoting.hpp"
#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {

constexpr const char* entryName = "com.tarnvell.Quorvane.desktop";
constexpr const char* schemeKey = "x-scheme-handler/quorvane";

}  // namespace

std::string withDefaultApplication(const std::string& list, const std::string& key,
                                   const std::string& value, bool replacing) {
    std::vector<std::string> lines;
    std::istringstream in(list);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::size_t group = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "[Default Applications]") {
            group = i;
        } else if (group < lines.size() && lines[i].starts_with('[')) {
            break;
        } else if (group < lines.size() && lines[i].starts_with(key + "=")) {
            if (!replacing)
                return list;
            lines[i] = key + "=" + value;
            group = lines.size() + 1;  // in place: nothing to add
            break;
        }
    }
    if (group == lines.size()) {
        if (!lines.empty() && !lines.back().empty())
            lines.emplace_back();
        lines.emplace_back("[Default Applications]");
        lines.push_back(key + "=" + value);
    } else if (group < lines.size()) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(group) + 1, key + "=" + value);
    }
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

std::string withoutDefaultApplication(const std::string& list, const std::string& key,
                                      const std::string& value) {
    std::istringstream in(list);
    std::string out;
    bool defaults = false;
    bool removed = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('['))
            defaults = line == "[Default Applications]";
        if (defaults && line == key + "=" + value) {
            removed = true;
            continue;
        }
        out += line + "\n";
    }
    return removed ? out : list;
}

std::optional<std::filesystem::path> packagedEntry(const std::filesystem::path& program) {
    const auto folder = program.parent_path();
    if (folder.filename() != "bin")
        return std::nullopt;
    auto entry = folder.parent_path() / "share/applications" / entryName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(entry, error))
        return std::nullopt;
    return entry;
}

Result<std::vector<std::filesystem::path>> removeUrlScheme(const std::filesystem::path& dataHome,
                                                           const std::filesystem::path& configHome) {
    std::vector<std::filesystem::path> removed;
    const auto entry = dataHome / "applications" / entryName;
    // Ours only: an entry that hands links over with the marker.
    auto written = readFile(entry, 64 * 1024);
    if (!written)
        return written.error();
    if (written.value() && written.value()->find(" --from-link %u") != std::string::npos) {
        std::error_code error;
        std::filesystem::remove(entry, error);
        if (error)
            return Error{"cannot remove " + entry.string() + ": " + error.message()};
        removed.push_back(entry);
    }
    const auto listPath = configHome / "mimeapps.list";
    auto list = readFile(listPath, 1024 * 1024);
    if (!list)
        return list.error();
    if (list.value()) {
        const auto after = withoutDefaultApplication(*list.value(), schemeKey, entryName);
        if (after != *list.value()) {
            if (auto rewritten = writeFileAtomically(listPath, after); !rewritten)
                return rewritten.error();
            removed.push_back(listPath);
        }
    }
    return removed;
}

Status registerUrlScheme(const std::filesystem::path& dataHome,
                         const std::filesystem::path& configHome,
                         const std::filesystem::path& program) {
    if (packagedEntry(program)) {
        if (auto removed = removeUrlScheme(dataHome, configHome); !removed)
            return removed.error();
        return success();
    }
    const auto applications = dataHome / "applications";
    if (auto made = makePrivateDirectory(applications); !made)
        return made;
    const std::string entry =
        "[Desktop Entry]\nType=Application\nName=Quorvane\n"
        "Comment=Small system tweaks from the status area\n"
        "Exec=" +
        // The marker tells a link from a command typed by the user.
        desktopEntryQuoted(program.string()) + " --from-link %u\nMimeType=" + schemeKey +
        ";\nIcon=com.tarnvell.Quorvane\nCategories=Utility;\n";
    // At every launch: written only when it says something new, which
    // spares start-up a synced write.
    if (auto current = readFile(applications / entryName, 64 * 1024);
        !current || current.value() != std::optional<std::string>(entry))
        if (auto written = writeFileAtomically(applications / entryName, entry); !written)
            return written;

    const auto listPath = configHome / "mimeapps.list";
    auto list = readFile(listPath, 1024 * 1024);
    if (!list)
        return list.error();
    const std::string before = list.value().value_or("");
    // A handler the user picked stays.
    const std::string after =
        withDefaultApplication(before, schemeKey, std::string(entryName), false);
    if (after == before)
        return success();
    if (auto made = makePrivateDirectory(configHome); !made)
        return made;
    return writeFileAtomically(listPath, after);
}

}  // namespace quorvane::platform::posix
