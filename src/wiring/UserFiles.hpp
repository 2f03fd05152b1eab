#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "adapters/posix/XdgDirectories.hpp"
#include "adapters/qt/XdgFileManagerActions.hpp"

namespace quorvane::app {

// Where the file managers' actions and what was installed of them are kept.
platform::qt::XdgFileManagerActions::Folders fileManagerFolders(
    const platform::posix::XdgDirectories& directories, const std::filesystem::path& program);

// What taking away the user's files did: one line per file or folder gone,
// and what could not be taken away.
struct UserFilesRemoved {
    std::vector<std::string> removed;
    std::vector<std::string> errors;
};

// Takes away what the program wrote into the desktop's own folders for
// the user: its application entry and "quorvane:" link handler, its start
// at login, and its actions in the file managers. The user's settings,
// records and journal stay. For removing a per-user install; a package's
// own files go with the package.
UserFilesRemoved removeUserFiles(const platform::posix::XdgDirectories& directories,
                                 const std::filesystem::path& program);

}  // namespace quorvane::app
