#include "adapters/posix/XdgBrowsers.hpp"

#include <unistd.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "adapters/posix/DesktopEntry.hpp"
#include "adapters/posix/FileOps.hpp"
#include "adapters/posix/ProcessArguments.hpp"

namespace quorvane::platform::posix {

namespace {

constexpr std::size_t maxFileBytes = 1024 * 1024;

// The desktop entries a browser is known by, most usual first (the
// distribution's package, then Flatpak's).
const std::map<std::string, std::vector<std::string>, std::less<>>& entriesByBundle() {
    static const std::map<std::string, std::vector<std::string>, std::less<>> table{
        {"com.google.Chrome", {"google-chrome.desktop", "com.google.Chrome.desktop"}},
        {"org.mozilla.firefox",
         {"firefox.desktop", "firefox-esr.desktop", "org.mozilla.firefox.desktop"}},
        {"com.brave.Browser", {"brave-browser.desktop", "com.brave.Browser.desktop"}},
        {"com.microsoft.edgemac", {"microsoft-edge.desktop", "com.microsoft.Edge.desktop"}},
        {"com.operasoftware.Opera", {"opera.desktop", "com.opera.Opera.desktop"}},
        {"com.vivaldi.Vivaldi", {"vivaldi-stable.desktop", "com.vivaldi.Vivaldi.desktop"}},
    };
    return table;
}

std::vector<std::filesystem::path> split(const char* list, const char* fallback) {
    std::vector<std::filesystem::path> folders;
    std::istringstream in(list && *list ? list : fallback);
    for (std::string folder; std::getline(in, folder, ':');)
        if (!folder.empty() && folder.front() == '/')
            folders.emplace_back(folder);
    return folders;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

// The value of `key` in `group` of a desktop-entry style file.
std::optional<std::string> valueIn(const std::string& text, std::string_view group,
                                   std::string_view key) {
    bool inGroup = false;
    for (const auto& line : lines(text)) {
        if (line.starts_with('['))
            inGroup = line == "[" + std::string(group) + "]";
        else if (inGroup && line.starts_with(std::string(key) + "="))
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

std::optional<std::string> readText(const std::filesystem::path& file) {
    auto bytes = readFile(file, maxFileBytes);
    if (!bytes || !bytes.value())
        return std::nullopt;
    return *bytes.value();
}

// The program an Exec line names, found on PATH when it has no slash.
std::optional<std::string> resolved(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? std::optional(program) : std::nullopt;
    const char* path = std::getenv("PATH");
    if (auto found = findExecutable(program, path && *path ? path : "/usr/local/bin:/usr/bin:/bin"))
        return found->string();
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> execArguments(std::string_view exec, const std::string& url) {
    std::vector<std::string> arguments;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    bool usedUrl = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
            continue;
        }
        if (c == '"') {
            quoted = inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                arguments.push_back(std::exchange(current, {}));
            inWord = false;
        } else if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            inWord = true;
            if (code == '%') {
                current += '%';
            } else if (code == 'u' || code == 'U' || code == 'f' || code == 'F') {
                current += url;
                usedUrl = true;
            }
            // %i, %c, %k and the deprecated codes stand for nothing here.
        } else {
            current += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        arguments.push_back(current);
    // A field code alone, expanded to nothing, leaves an empty argument.
    std::erase(arguments, std::string());
    if (arguments.empty())
        return std::nullopt;
    if (!usedUrl)
        arguments.push_back(url);
    return arguments;
}

XdgBrowsers::Folders XdgBrowsers::foldersFromEnvironment(const std::filesystem::path& configHome,
                                                        const std::filesystem::path& dataHome) {
    return {configHome, split(std::getenv("XDG_CONFIG_DIRS"), "/etc/xdg"), dataHome,
            split(std::getenv("XDG_DATA_DIRS"), "/usr/local/share:/usr/share")};
}

std::optional<std::filesystem::path> XdgBrowsers::entryOf(const std::string& bundleIdentifier) const {
    const auto& table = entriesByBundle();
    const auto known = table.find(bundleIdentifier);
    if (known == table.end())
        return std::nullopt;
    std::vector<std::filesystem::path> folders{folders_.dataHome / "applications"};
    for (const auto& folder : folders_.dataDirs)
        folders.push_back(folder / "applications");
    for (const auto& folder : folders)
        for (const auto& name : known->second) {
            std::error_code error;
            if (std::filesystem::is_regular_file(folder / name, error))
                return folder / name;
        }
    return std::nullopt;
}

bool XdgBrowsers::isInstalled(const std::string& bundleIdentifier) {
    return entryOf(bundleIdentifier).has_value();
}

std::optional<std::string> XdgBrowsers::defaultFor(const std::string& scheme) {
    std::vector<std::filesystem::path> lists{folders_.configHome / "mimeapps.list"};
    for (const auto& folder : folders_.configDirs)
        lists.push_back(folder / "mimeapps.list");
    lists.push_back(folders_.dataHome / "applications/mimeapps.list");
    for (const auto& folder : folders_.dataDirs)
        lists.push_back(folder / "applications/mimeapps.list");
    for (const auto& list : lists) {
        const auto text = readText(list);
        if (!text)
            continue;
        const auto handlers = valueIn(*text, "Default Applications", "x-scheme-handler/" + scheme);
        if (!handlers)
            continue;
        const std::string first = handlers->substr(0, handlers->find(';'));
        for (const auto& [bundle, entries] : entriesByBundle())
            for (const auto& entry : entries)
                if (entry == first)
                    return bundle;
        return std::nullopt;  // a handler we do not know
    }
    return std::nullopt;
}

Status XdgBrowsers::setDefault(const std::string& scheme, const std::string& bundleIdentifier) {
    const auto entry = entryOf(bundleIdentifier);
    if (!entry)
        return Error{"no desktop entry for " + bundleIdentifier};
    const auto list = folders_.configHome / "mimeapps.list";
    if (auto made = makePrivateDirectory(folders_.configHome); !made)
        return made;
    const std::string before = readText(list).value_or("");
    return writeFileAtomically(list, withDefaultApplication(before, "x-scheme-handler/" + scheme,
                                                 entry->filename().string() + ";", true));
}

Status XdgBrowsers::open(const std::vector<std::string>& urls, const std::string& bundleIdentifier) {
    const auto entry = entryOf(bundleIdentifier);
    if (!entry)
        return Error{"no desktop entry for " + bundleIdentifier};
    const auto text = readText(*entry);
    const auto exec = text ? valueIn(*text, "Desktop Entry", "Exec") : std::nullopt;
    if (!exec)
        return Error{entry->string() + " has no Exec line"};
    for (const auto& url : urls) {
        auto arguments = execArguments(*exec, url);
        if (!arguments)
            return Error{entry->string() + ": the Exec line cannot be read"};
        const auto program = resolved(arguments->front());
        if (!program)
            return Error{"cannot find " + arguments->front()};
        // The browser lives on by itself; its exit is only collected.
        arguments->front() = *program;
        if (auto started = spawnDetached(std::move(*arguments), environmentWith({})); !started)
            return started;
    }
    return success();
}

}  // namespace quorvane::platform::posix
