#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvane::platform {

// One file action as a file manager's menu shows it; choosing it runs
// `quorvane finder-action <id> <files...>`.
struct FileAction {
    std::string id;           // "copyPath"
    std::string name;         // "Copy Path"
    std::string description;  // "Copy file path to clipboard"
    std::string icon;         // a freedesktop icon name: "edit-copy"
};

// What one file manager found in the user's folders holds of ours.
struct FileManagerReport {
    std::string fileManager;             // "Nautilus", "Nemo", "Dolphin", "Thunar"
    std::filesystem::path location;      // where its actions go
    std::vector<std::string> installed;  // the names of the actions there
    std::string error;                   // why the last install left nothing there
};

// The file managers' own menus, the desktop's counterpart of a Finder
// extension: actions installed into every file manager found in the
// user's folders, removed again exactly.
class FileManagerActions {
  public:
    virtual ~FileManagerActions() = default;

    // Whether the actions are wanted: true until remove(), false after it
    // until the next install(), across runs.
    virtual bool enabled() const = 0;
    // Installs the actions into every file manager found, replacing what an
    // earlier install put there. A file manager whose folder cannot be
    // written keeps nothing of ours and reports why.
    virtual std::vector<FileManagerReport> install(const std::vector<FileAction>& actions) = 0;
    // Removes what install() put there, and nothing else.
    virtual std::vector<FileManagerReport> remove() = 0;
    // The file managers found and what they hold of ours now.
    virtual std::vector<FileManagerReport> report() const = 0;
};

}  // namespace quorvane::platform
