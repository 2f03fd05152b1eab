#include "triggers/finder/FinderActions.hpp"

#include <array>
#include <charconv>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/Utf8.hpp"

namespace quorvane::triggers {

namespace {

using enum FinderAction::Kind;

constexpr std::array<FinderAction, 8> actions{{
    {copyPath, "copyPath", "Copy Path", "doc.on.doc", "Copy file path to clipboard", false, {}},
    {copyFilename,
     "copyFilename",
     "Copy Filename",
     "doc.text",
     "Copy filename to clipboard",
     false,
     {}},
    {copyFileURL, "copyFileURL", "Copy File URL", "link", "Copy file URL to clipboard", false, {}},
    {openInTerminal, "openInTerminal", "Open in Terminal", "terminal",
     "Open Terminal at this location", true, "com.apple.Terminal"},
    {openIniTerm, "openIniTerm", "Open in iTerm", "terminal.fill", "Open iTerm at this location",
     true, "com.googlecode.iterm2"},
    {openInVSCode, "openInVSCode", "Open in VS Code", "chevron.left.forwardslash.chevron.right",
     "Open in Visual Studio Code", true, "com.microsoft.VSCode"},
    {newTextFile,
     "newTextFile",
     "New Text File",
     "doc.badge.plus",
     "Create a new text file",
     true,
     {}},
    {newFolder, "newFolder", "New Folder", "folder.badge.plus", "Create a new folder", true, {}},
}};

// Characters a URL path keeps as they are (RFC 3986: unreserved, the
// sub-delimiters, ':', '@' and the separating '/').
bool keptInPath(unsigned char c) {
    if (std::isalnum(c))
        return true;
    return std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(c)) !=
           std::string_view::npos;
}

enum class Creation { created, taken, failed };

// Creates the file or folder only if nothing has that name, in one step,
// so that nothing another program makes meanwhile is replaced.
Creation createExclusively(const std::filesystem::path& path, bool folder) {
    if (folder) {
        std::error_code error;
        if (std::filesystem::create_directory(path, error))
            return Creation::created;
        return !error || error == std::errc::file_exists ? Creation::taken : Creation::failed;
    }
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (!file)
        return errno == EEXIST ? Creation::taken : Creation::failed;
    std::fclose(file);
    return Creation::created;
}

std::filesystem::path candidate(bool folder, const std::filesystem::path& in, int attempt) {
    if (folder)
        return in / (attempt == 0 ? std::string("untitled folder")
                                  : "untitled folder " + std::to_string(attempt + 1));
    return in / (attempt == 0 ? std::string("Untitled.txt")
                              : "Untitled " + std::to_string(attempt) + ".txt");
}

std::optional<std::string> decodePath(const nlohmann::json& path) {
    if (path.is_string())
        return path.get<std::string>();
    if (!path.is_object() || path.size() != 1 || !path.contains("hex") || !path["hex"].is_string())
        return std::nullopt;
    const auto& hex = path["hex"].get_ref<const std::string&>();
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        if (error != std::errc() || end != hex.data() + i + 2)
            return std::nullopt;
        bytes += static_cast<char>(value);
    }
    return bytes;
}

}  // namespace

std::span<const FinderAction> finderActions() {
    return actions;
}

const FinderAction* findFinderAction(std::string_view id) {
    for (const auto& action : actions)
        if (action.id == id)
            return &action;
    return nullptr;
}

nlohmann::json FinderActionMessage::encodePath(const std::string& path) {
    if (platform::isValidUtf8(path))
        return path;
    std::string hex;
    char pair[3];
    for (char c : path) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(c));
        hex += pair;
    }
    return nlohmann::json{{"hex", hex}};
}

platform::Result<FinderActionMessage> FinderActionMessage::decode(std::string_view text) {
    if (text.size() > maxBytes)
        return platform::Error{"message larger than " + std::to_string(maxBytes) + " bytes"};
    const auto json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_object() || !json.contains("actionId") || !json["actionId"].is_string() ||
        !json.contains("paths") || !json["paths"].is_array())
        return platform::Error{"not a message: {\"actionId\": ..., \"paths\": [...]}"};
    FinderActionMessage message{json["actionId"].get<std::string>(), {}};
    if (json["paths"].size() > maxPaths)
        return platform::Error{"more than " + std::to_string(maxPaths) + " paths"};
    for (const auto& path : json["paths"]) {
        auto decoded = decodePath(path);
        if (!decoded)
            return platform::Error{"a path that is neither text nor {\"hex\": bytes}"};
        auto value = std::move(*decoded);
        if (value.empty() || value.front() != '/' || value.find('\0') != std::string::npos)
            return platform::Error{"a path that is not absolute: " + value};
        message.paths.push_back(std::move(value));
    }
    return message;
}

namespace {

bool isFolder(const std::string& path) {
    std::error_code error;
    return path.ends_with('/') || std::filesystem::is_directory(path, error);
}

std::string withTrailingSlash(std::string path) {
    if (!path.ends_with('/'))
        path += '/';
    return path;
}

// The last component, also of a folder given with a trailing "/".
std::string displayName(std::string path) {
    while (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    if (path == "/")
        return path;
    return std::filesystem::path(path).filename().string();
}

}  // namespace

std::string fileUrl(std::string_view path) {
    std::string url = "file://";
    char escaped[4];
    for (char raw : path) {
        const auto c = static_cast<unsigned char>(raw);
        if (keptInPath(c)) {
            url += static_cast<char>(c);
        } else {
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    return url;
}

void FinderActionPerformer::handle(const FinderActionMessage& message) {
    const auto* action = findFinderAction(message.actionId);
    if (!action) {
        log_.warning("FinderAction", "no action \"" + message.actionId + "\"");
        return;
    }
    perform(*action, message.paths);
}

void FinderActionPerformer::perform(const FinderAction& action,
                                    const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    switch (action.kind) {
        case copyPath:
        case copyFilename:
        case copyFileURL:
            copy(action, paths);
            return;
        case openInTerminal:
        case openIniTerm:
        case openInVSCode:
            openIn(action, paths.front());
            return;
        case newTextFile:
        case newFolder:
            create(action, paths.front());
            return;
    }
}

void FinderActionPerformer::copy(const FinderAction& action,
                                 const std::vector<std::string>& paths) {
    std::string text;
    for (const auto& path : paths) {
        if (!text.empty())
            text += '\n';
        if (action.kind == copyPath)
            text += path;
        else if (action.kind == copyFilename)
            text += displayName(path);
        else
            text += fileUrl(isFolder(path) ? withTrailingSlash(path) : path);
    }
    pasteboard_.setString(text);
    // What kind of text and how long: never the paths themselves.
    journal_.record(action.id, "pasteboard",
                    std::string(action.kind == copyPath       ? "paths"
                                : action.kind == copyFilename ? "file names"
                                                              : "file addresses") +
                        ", " + std::to_string(text.size()) + " bytes");
}

const char* const desktopTerminalScript =
    "cd -- \"$1\" || exit 1\n"
    "for terminal in x-terminal-emulator xdg-terminal-exec gnome-terminal konsole "
    "xfce4-terminal xterm; do\n"
    "    command -v \"$terminal\" >/dev/null 2>&1 && exec \"$terminal\"\n"
    "done\n"
    "exit 127\n";

void FinderActionPerformer::openIn(const FinderAction& action, const std::string& path) {
    std::error_code error;
    const std::filesystem::path item(path);
    const auto folder = std::filesystem::is_directory(item, error) ? item : item.parent_path();
    // The desktop's terminal where it has one, not the Mac's.
    if (action.kind == openInTerminal && openTerminal_) {
        journal_.record("FinderAction", "open terminal", folder.string());
        if (auto opened = openTerminal_(folder.string()); !opened)
            log_.warning("FinderAction", "cannot open a terminal: " + opened.error().message);
        return;
    }
    const std::string application(action.bundleIdentifier);
    if (!workspace_.isInstalled(application)) {
        log_.info("FinderAction", application + " is not installed");
        return;
    }
    if (auto opened = workspace_.openUrl(fileUrl(folder.string()), application); !opened)
        log_.warning("FinderAction", opened.error().message);
}

void FinderActionPerformer::create(const FinderAction& action, const std::string& folder) {
    const bool isFolder = action.kind == newFolder;
    // No looking first: another program could take the name between a look
    // and the creation. Each candidate is created exclusively, and a taken
    // one moves us on to the next.
    constexpr int attempts = 10000;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const auto path = candidate(isFolder, folder, attempt);
        const auto created = createExclusively(path, isFolder);
        if (created == Creation::taken)
            continue;
        if (created == Creation::failed) {
            log_.warning("FinderAction", "cannot create " + path.string());
            return;
        }
        journal_.record(action.id, isFolder ? "new folder" : "new file", path.string());
        if (auto shown = workspace_.selectFile(path.string(), folder); !shown)
            log_.warning("FinderAction", shown.error().message);
        return;
    }
    log_.warning("FinderAction", "no free name in " + folder);
}

}  // namespace quorvane::triggers
