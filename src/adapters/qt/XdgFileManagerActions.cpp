#include "adapters/qt/XdgFileManagerActions.hpp"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>

#include "adapters/posix/FileOps.hpp"
#include "platform/Quoting.hpp"

namespace quorvane::platform::qt {

namespace {

namespace fs = std::filesystem;
using Installed = XdgFileManagerActions::Installed;

constexpr const char* thunarIdPrefix = "quorvane-";

bool isDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

QString qPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// A file manager's settings, or our own record of them: nothing when it is
// missing or cannot be read (never waiting on a FIFO in its place).
std::optional<QByteArray> readAll(const fs::path& path) {
    auto bytes = posix::readFile(path, 4u << 20);
    if (!bytes || !bytes.value())
        return std::nullopt;
    return QByteArray::fromStdString(*bytes.value());
}

// Whole or not at all: a temporary file renamed over the old one.
std::string writeWhole(const fs::path& path, const QByteArray& content, bool executable) {
    std::error_code made;
    fs::create_directories(path.parent_path(), made);
    if (made)
        return "cannot make " + path.parent_path().string() + ": " + made.message();
    if (readAll(path) == content)
        return {};
    // A link is followed (a dotfile kept elsewhere stays a link), but only
    // to a regular file: a temporary renamed over a device or a FIFO in its
    // place would replace that, whoever it belongs to.
    fs::path target = path;
    std::error_code failed;
    if (fs::is_symlink(fs::symlink_status(path, failed))) {
        target = fs::canonical(path, failed);
        if (failed)
            return "cannot follow the link " + path.string() + ": " + failed.message();
    }
    if (const auto found = fs::status(target, failed);
        fs::exists(found) && !fs::is_regular_file(found))
        return target.string() + " is not a regular file; it was left as it is";
    if (auto written = posix::writeFileAtomically(target, content.toStdString()); !written)
        return written.error().message;
    if (executable)
        fs::permissions(target, fs::perms::owner_all, failed);
    return {};
}

// Our own folder (Nautilus's Quorvane submenu) goes once nothing is in it.
void removeIfEmptyFolder(const fs::path& path) {
    std::error_code ignored;
    if (isDirectory(path) && fs::is_empty(path, ignored))
        fs::remove(path, ignored);
}

void removeFile(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// --- What each file manager is given ----------------------------------

struct File {
    fs::path path;
    QByteArray content;
    std::vector<std::string> actions;
    bool executable = false;
};

QByteArray nautilusScript(const FileAction& action, const fs::path& program) {
    // Nautilus runs the script with the selected files as its arguments.
    return QByteArray::fromStdString("#!/bin/sh\n# Quorvane's \"" + action.name +
                                     "\" file action; it goes when Finder Context Menu is "
                                     "switched off.\nexec " +
                                     shellQuote(program.string()) + " finder-action " +
                                     shellQuote(action.id) + " \"$@\"\n");
}

// One line of a key file: no line breaks inside a value.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

QByteArray nemoAction(const FileAction& action, const fs::path& program) {
    // Nemo puts the selected paths in place of %F and splits the line as a
    // shell would, without running one. Single quotes (a quote inside one
    // closed, escaped and reopened) keep every byte, newlines too; its
    // default backslash escaping would drop a newline.
    return QByteArray::fromStdString(
        "[Nemo Action]\nName=" + oneLine(action.name) + "\nComment=" + oneLine(action.description) +
        "\nExec=" + shellQuote(program.string()) + " finder-action " + action.id +
        " %F\nQuote=single\nIcon-Name=" + action.icon + "\nSelection=notnone\nExtensions=any;\n");
}

QByteArray dolphinServiceMenu(const std::vector<FileAction>& actions, const fs::path& program) {
    std::string ids;
    for (const auto& action : actions)
        ids += action.id + ";";
    std::string menu =
        "[Desktop Entry]\nType=Service\nMimeType=all/all;\nActions=" + ids +
        "\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\nX-KDE-Submenu=Quorvane\n";
    for (const auto& action : actions)
        menu += "\n[Desktop Action " + action.id + "]\nName=" + oneLine(action.name) +
                "\nIcon=" + action.icon + "\nExec=" + desktopEntryQuoted(program.string()) +
                " finder-action " + action.id + " %F\n";
    return QByteArray::fromStdString(menu);
}

struct Manager {
    const char* name;
    fs::path location;  // its folder of actions, or Thunar's uca.xml
    bool found;
};

bool onPath(const char* program, const std::string& searchPath) {
    return posix::findExecutable(program, searchPath).has_value();
}

// A file manager is there when its folder is, or, before its first start
// has made that folder, when the program is installed.
std::vector<Manager> managersFound(const XdgFileManagerActions::Folders& folders) {
    const auto& data = folders.dataHome;
    const auto& config = folders.configHome;
    const auto& path = folders.searchPath;
    return {
        {"Nautilus", data / "nautilus/scripts/Quorvane",
         isDirectory(data / "nautilus") || onPath("nautilus", path)},
        {"Nemo", data / "nemo/actions", isDirectory(data / "nemo") || onPath("nemo", path)},
        {"Dolphin", data / "kio/servicemenus",
         isDirectory(data / "kio") || isDirectory(data / "dolphin") ||
             pathExists(config / "dolphinrc") || onPath("dolphin", path)},
        {"Thunar", config / "Thunar/uca.xml", isDirectory(config / "Thunar") || onPath("thunar", path)},
    };
}

std::vector<File> filesFor(const Manager& manager, const std::vector<FileAction>& actions,
                           const fs::path& program) {
    std::vector<File> files;
    const std::string name = manager.name;
    if (name == "Dolphin" && !actions.empty()) {
        std::vector<std::string> names;
        for (const auto& action : actions)
            names.push_back(action.name);
        // Dolphin runs a user's service menu only when it is executable.
        files.push_back({manager.location / "quorvane.desktop",
                         dolphinServiceMenu(actions, program), names, true});
    }
    for (const auto& action : actions) {
        if (name == "Nautilus")
            files.push_back({manager.location / action.name, nautilusScript(action, program),
                             {action.name}, true});
        else if (name == "Nemo")
            files.push_back({manager.location / ("quorvane-" + action.id + ".nemo_action"),
                             nemoAction(action, program), {action.name}, false});
    }
    return files;
}

// --- Thunar's uca.xml, shared with the user's own actions -------------

// The actions of a uca.xml that are not ours, each as the XML it was.
struct ThunarActions {
    std::vector<QByteArray> users;
};

// Reads uca.xml (none: no actions yet); a file that is not one is an error
// and is left as it is. Qt Core's stream reader, so the program needs no
// XML library of its own.
std::optional<ThunarActions> readThunar(const fs::path& file, std::string& error) {
    ThunarActions found;
    // Absent: no actions yet. There but unreadable (too large, a folder, no
    // permission): the user's actions are in it, so it is not replaced.
    const auto bytes = posix::readFile(file, 4u << 20);
    if (!bytes) {
        error = bytes.error().message + "; " + file.string() + " was left as it is";
        return std::nullopt;
    }
    if (!bytes.value())
        return found;
    QXmlStreamReader reader(QByteArray::fromStdString(*bytes.value()));
    if (!reader.readNextStartElement() || reader.name() != QLatin1String("actions"))
        reader.raiseError(QStringLiteral("no <actions> element"));
    while (!reader.hasError() && reader.readNextStartElement()) {
        // Each child is copied whole, whatever it holds.
        QByteArray element;
        QXmlStreamWriter writer(&element);
        writer.writeCurrentToken(reader);
        bool ours = false;
        QString lastStart = reader.name().toString();
        for (int depth = 1; depth > 0 && !reader.atEnd();) {
            reader.readNext();
            if (reader.isStartElement()) {
                ++depth;
                lastStart = reader.name().toString();
            } else if (reader.isEndElement()) {
                --depth;
            } else if (reader.isCharacters() && lastStart == QLatin1String("unique-id") &&
                       reader.text().startsWith(QLatin1String(thunarIdPrefix))) {
                ours = true;
            }
            if (!reader.hasError())
                writer.writeCurrentToken(reader);
        }
        if (!ours)
            found.users.push_back(element);
    }
    if (reader.hasError()) {
        error = file.string() + " cannot be read (line " + std::to_string(reader.lineNumber()) +
                ": " + reader.errorString().toStdString() + "); it was left as it is";
        return std::nullopt;
    }
    return found;
}

QByteArray thunarAction(const FileAction& action, const fs::path& program) {
    QByteArray element;
    QXmlStreamWriter writer(&element);
    writer.setAutoFormatting(true);
    writer.writeStartElement(QStringLiteral("action"));
    auto add = [&](const char* tag, const std::string& text) {
        if (text.empty())
            writer.writeEmptyElement(QLatin1String(tag));
        else
            writer.writeTextElement(QLatin1String(tag), QString::fromStdString(text));
    };
    add("icon", action.icon);
    add("name", action.name);
    add("submenu", "Quorvane");
    add("unique-id", thunarIdPrefix + action.id);
    // Thunar puts each path, shell-quoted, in place of %F and runs the line
    // with /bin/sh: the program's path is quoted the same way.
    add("command", shellQuote(program.string()) + " finder-action " + action.id + " %F");
    add("description", action.description);
    add("range", "*");
    add("patterns", "*");
    for (const char* kind : {"directories", "audio-files", "image-files", "other-files",
                             "text-files", "video-files"})
        add(kind, "");
    writer.writeEndElement();
    return element;
}

QByteArray thunarFile(const std::vector<QByteArray>& actions) {
    QByteArray file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n";
    for (const auto& action : actions)
        file += action.trimmed() + "\n";
    return file + "</actions>\n";
}

}  // namespace

XdgFileManagerActions::XdgFileManagerActions(Folders folders) : folders_(std::move(folders)) {}

XdgFileManagerActions::State XdgFileManagerActions::load() const {
    State state;
    const auto bytes = readAll(folders_.stateFile);
    if (!bytes)
        return state;
    const auto json = QJsonDocument::fromJson(*bytes).object();
    state.enabled = json.value(QStringLiteral("enabled")).toBool(true);
    for (const auto& value : json.value(QStringLiteral("installed")).toArray()) {
        const auto entry = value.toObject();
        Installed installed{
            .fileManager = entry.value(QStringLiteral("fileManager")).toString().toStdString(),
            .file = entry.value(QStringLiteral("file")).toString().toStdString(),
            .actions = {},
            .created = entry.value(QStringLiteral("created")).toBool(true)};
        for (const auto& action : entry.value(QStringLiteral("actions")).toArray())
            installed.actions.push_back(action.toString().toStdString());
        if (!installed.file.empty())
            state.installed.push_back(std::move(installed));
    }
    return state;
}

bool XdgFileManagerActions::save(const State& state) const {
    QJsonArray installed;
    for (const auto& entry : state.installed) {
        QJsonArray actions;
        for (const auto& action : entry.actions)
            actions.append(QString::fromStdString(action));
        installed.append(QJsonObject{{"fileManager", QString::fromStdString(entry.fileManager)},
                                     {"file", qPath(entry.file)},
                                     {"actions", actions},
                                     {"created", entry.created}});
    }
    const QJsonObject json{{"enabled", state.enabled}, {"installed", installed}};
    return writeWhole(folders_.stateFile, QJsonDocument(json).toJson(), false).empty();
}

bool XdgFileManagerActions::enabled() const {
    return load().enabled;
}

std::vector<FileManagerReport> XdgFileManagerActions::install(
    const std::vector<FileAction>& actions) {
    State before = load();
    State after{.enabled = true, .installed = {}};
    errors_.clear();
    auto previous = [&](const std::string& manager) {
        std::vector<Installed> entries;
        for (const auto& entry : before.installed)
            if (entry.fileManager == manager)
                entries.push_back(entry);
        return entries;
    };

    for (const auto& manager : managersFound(folders_)) {
        const auto old = previous(manager.name);
        if (!manager.found) {
            // Its folder went away: keep track of anything of ours still there.
            for (const auto& entry : old)
                if (pathExists(entry.file))
                    after.installed.push_back(entry);
            continue;
        }
        std::string error;
        if (std::string(manager.name) == "Thunar") {
            bool created = old.empty() ? !pathExists(manager.location) : old.front().created;
            if (auto found = readThunar(manager.location, error)) {
                auto all = found->users;
                std::vector<std::string> names;
                for (const auto& action : actions) {
                    all.push_back(thunarAction(action, folders_.program));
                    names.push_back(action.name);
                }
                error = writeWhole(manager.location, thunarFile(all), false);
                if (error.empty())
                    after.installed.push_back({manager.name, manager.location, names, created});
                else if (!old.empty())
                    after.installed.push_back(old.front());  // unchanged, still ours
            } else if (!old.empty()) {
                after.installed.push_back(old.front());
            }
        } else {
            const auto files = filesFor(manager, actions, folders_.program);
            std::vector<Installed> written;
            for (const auto& file : files) {
                error = writeWhole(file.path, file.content, file.executable);
                if (!error.empty())
                    break;
                written.push_back({manager.name, file.path, file.actions, true});
            }
            // Files of an earlier install no longer wanted, or all of ours
            // when this one failed half-way: nothing half-installed stays.
            for (const auto& entry : old)
                if (!error.empty() || std::none_of(files.begin(), files.end(), [&](const File& file) {
                        return file.path == entry.file;
                    }))
                    removeFile(entry.file);
            if (error.empty()) {
                after.installed.insert(after.installed.end(), written.begin(), written.end());
            } else {
                for (const auto& file : files)
                    removeFile(file.path);
            }
            if (std::string(manager.name) == "Nautilus")
                removeIfEmptyFolder(manager.location);
        }
        if (!error.empty())
            errors_[manager.name] = error;
    }
    if (!save(after))
        errors_["Quorvane"] = "cannot write " + folders_.stateFile.string();
    return report();
}

std::vector<FileManagerReport> XdgFileManagerActions::remove() {
    State state = load();
    State after{.enabled = false, .installed = {}};
    errors_.clear();
    for (const auto& entry : state.installed) {
        if (entry.fileManager != "Thunar") {
            removeFile(entry.file);
            continue;
        }
        std::string error;
        auto found = readThunar(entry.file, error);
        if (!found) {
            if (pathExists(entry.file)) {
                errors_[entry.fileManager] = error;
                after.installed.push_back(entry);
            }
            continue;
        }
        if (entry.created && found->users.empty())
            removeFile(entry.file);
        else if (auto failed = writeWhole(entry.file, thunarFile(found->users), false);
                 !failed.empty()) {
            errors_[entry.fileManager] = failed;
            after.installed.push_back(entry);
        }
    }
    removeIfEmptyFolder(folders_.dataHome / "nautilus/scripts/Quorvane");
    save(after);
    return report();
}

std::vector<FileManagerReport> XdgFileManagerActions::report() const {
    const State state = load();
    std::vector<FileManagerReport> reports;
    for (const auto& manager : managersFound(folders_)) {
        if (!manager.found)
            continue;
        FileManagerReport report{.fileManager = manager.name,
                                 .location = manager.location,
                                 .installed = {},
                                 .error = {}};
        for (const auto& entry : state.installed)
            if (entry.fileManager == manager.name && pathExists(entry.file))
                report.installed.insert(report.installed.end(), entry.actions.begin(),
                                        entry.actions.end());
        if (auto error = errors_.find(manager.name); error != errors_.end())
            report.error = error->second;
        reports.push_back(std::move(report));
    }
    return reports;
}

}  // namespace quorvane::platform::qt
