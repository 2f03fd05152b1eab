#include "triggers/finder/FileManagerSync.hpp"

#include <algorithm>

#include "core/CanToggle.hpp"

#include "triggers/finder/FinderActions.hpp"

namespace quorvane::triggers {

namespace {

// The desktop's icon names for the actions' symbols.
const char* iconOf(FinderAction::Kind kind) {
    switch (kind) {
        case FinderAction::Kind::copyPath:
        case FinderAction::Kind::copyFilename:
            return "edit-copy";
        case FinderAction::Kind::copyFileURL:
            return "insert-link";
        case FinderAction::Kind::openInTerminal:
        case FinderAction::Kind::openIniTerm:
            return "utilities-terminal";
        case FinderAction::Kind::openInVSCode:
            return "accessories-text-editor";
        case FinderAction::Kind::newTextFile:
            return "document-new";
        case FinderAction::Kind::newFolder:
            return "folder-new";
    }
    return "";
}

std::string summary(const std::vector<platform::FileManagerReport>& reports) {
    std::string text;
    for (const auto& report : reports) {
        if (report.installed.empty())
            continue;
        text += (text.empty() ? "" : "; ") + report.fileManager + ": " +
                std::to_string(report.installed.size()) + " in " + report.location.string();
    }
    return text;
}

}  // namespace

std::vector<platform::FileAction> FileManagerSync::actions() const {
    std::vector<platform::FileAction> offered;
    for (const auto& action : finderActions()) {
        if (!action.bundleIdentifier.empty() &&
            !workspace_.isInstalled(std::string(action.bundleIdentifier)))
            continue;
        offered.push_back({std::string(action.id), std::string(action.name),
                           std::string(action.description), iconOf(action.kind)});
    }
    return offered;
}

void FileManagerSync::apply(bool on) {
    const bool heldBefore = holdsAny(fileManagers_.report());
    const auto reports = on ? fileManagers_.install(actions()) : fileManagers_.remove();
    logErrors(reports);
    keep(heldBefore, reports);
    const std::string held = summary(reports);
    journal_.record("FinderContextMenuTask", "file manager actions",
                    on ? (held.empty() ? "installed in no file manager" : "installed: " + held)
                       : (held.empty() ? "removed" : "removed, except " + held));
}

void FileManagerSync::refresh() {
    if (!fileManagers_.enabled())
        return;
    // The first launch installs them: a change of ours like any other.
    const bool heldBefore = holdsAny(fileManagers_.report());
    const auto reports = fileManagers_.install(actions());
    logErrors(reports);
    keep(heldBefore, reports);
}

bool FileManagerSync::holdsAny(const std::vector<platform::FileManagerReport>& reports) {
    return std::any_of(reports.begin(), reports.end(),
                       [](const auto& report) { return !report.installed.empty(); });
}

void FileManagerSync::keep(bool heldBefore, const std::vector<platform::FileManagerReport>& reports) {
    if (changes_)
        changes_->record("FinderContextMenuTask", core::switchKind, "FinderContextMenuTask",
                         core::onOffText(heldBefore), core::onOffText(holdsAny(reports)));
}

void FileManagerSync::logErrors(const std::vector<platform::FileManagerReport>& reports) {
    for (const auto& report : reports)
        if (!report.error.empty())
            log_.warning("FileManagers", report.fileManager + ": " + report.error);
}

}  // namespace quorvane::triggers
