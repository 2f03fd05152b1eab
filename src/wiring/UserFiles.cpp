#include "wiring/UserFiles.hpp"

#include <cstdlib>

#include "adapters/posix/DesktopEntry.hpp"
#include "adapters/posix/XdgAutostart.hpp"
#include "core/AppIdentity.hpp"

namespace quorvane::app {

platform::qt::XdgFileManagerActions::Folders fileManagerFolders(
    const platform::posix::XdgDirectories& directories, const std::filesystem::path& program) {
    return {.dataHome = directories.dataHome,
            .configHome = directories.configHome,
            .stateFile =
                directories.stateHome / core::bundleIdentifier / "file-manager-actions.json",
            .program = program,
            .searchPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : ""};
}

UserFilesRemoved removeUserFiles(const platform::posix::XdgDirectories& directories,
                                 const std::filesystem::path& program) {
    UserFilesRemoved result;
    if (auto links = platform::posix::removeUrlScheme(directories.dataHome, directories.configHome);
        links)
        for (const auto& file : links.value())
            result.removed.push_back(file.filename() == "mimeapps.list"
                                         ? "the quorvane: link handler in " + file.string()
                                         : file.string());
    else
        result.errors.push_back(links.error().message);

    platform::posix::XdgAutostart autostart(directories.configHome, program);
    if (autostart.isEnabled()) {
        if (auto stopped = autostart.setEnabled(false); stopped)
            result.removed.push_back(autostart.entry().string());
        else
            result.errors.push_back(stopped.error().message);
    }

    platform::qt::XdgFileManagerActions fileManagers(fileManagerFolders(directories, program));
    const auto held = fileManagers.report();
    for (const auto& report : fileManagers.remove()) {
        if (!report.error.empty())
            result.errors.push_back(report.fileManager + ": " + report.error);
        for (const auto& before : held)
            if (before.fileManager == report.fileManager && !before.installed.empty() &&
                report.installed.empty())
                result.removed.push_back(report.fileManager + "'s actions in " +
                                         before.location.string());
    }
    return result;
}

}  // namespace quorvane::app
