#pragma once

#include <optional>
#include <span>
#include <nlohmann/json.hpp>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Journal.hpp"
#include "platform/Log.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/Workspace.hpp"

namespace quorvane::triggers {

// A file action offered in Finder's context menu and the Services menu.
struct FinderAction {
    enum class Kind {
        copyPath,
        copyFilename,
        copyFileURL,
        openInTerminal,
        openIniTerm,
        openInVSCode,
        newTextFile,
        newFolder,
    };

    Kind kind;
    std::string_view id;
    std::string_view name;
    std::string_view symbol;
    std::string_view description;
    bool requiresMainApp = false;
    std::string_view bundleIdentifier;  // the application it opens, if any
};

// The eight actions, in menu order.
std::span<const FinderAction> finderActions();
const FinderAction* findFinderAction(std::string_view id);

// A message from the Finder extension (or a file manager's script hook):
// {"actionId": "...", "paths": ["/absolute/path", ...]}. It comes from
// another process: anything too large, with too many paths, or with a path
// that is not absolute is refused with the reason.
struct FinderActionMessage {
    static constexpr std::size_t maxBytes = 64 * 1024;
    static constexpr std::size_t maxPaths = 1000;

    std::string actionId;
    std::vector<std::string> paths;

    // A path is text, or, for one that is not UTF-8 (a file name is any
    // bytes), {"hex": "<its bytes>"}, so that it crosses JSON unchanged.
    static platform::Result<FinderActionMessage> decode(std::string_view json);
    static nlohmann::json encodePath(const std::string& path);
};

// "file:///a/b%20c.txt" for "/a/b c.txt": the path percent-encoded as a
// URL's path must be.
std::string fileUrl(std::string_view path);

// Carries out the actions. Main thread only.
class FinderActionPerformer {
  public:
    FinderActionPerformer(platform::Pasteboard& pasteboard, platform::Workspace& workspace,
                          platform::Journal& journal, platform::Log& log)
        : pasteboard_(pasteboard), workspace_(workspace), journal_(journal), log_(log) {}

    // Opens the desktop's own terminal in a folder, where there is one (an
    // X11 session); unset: "Open in Terminal" opens the Mac's Terminal.
    using OpenTerminal = std::function<platform::Status(const std::string& folder)>;
    void setOpenTerminal(OpenTerminal open) { openTerminal_ = std::move(open); }

    // Does nothing for no paths.
    void perform(const FinderAction& action, const std::vector<std::string>& paths);
    // A decoded message: the action of its id, or a log line when there is none.
    void handle(const FinderActionMessage& message);

  private:
    void copy(const FinderAction& action, const std::vector<std::string>& paths);
    void openIn(const FinderAction& action, const std::string& path);
    void create(const FinderAction& action, const std::string& folder);

    platform::Pasteboard& pasteboard_;
    platform::Workspace& workspace_;
    platform::Journal& journal_;
    platform::Log& log_;
    OpenTerminal openTerminal_;
};

// The shell line that opens the desktop's terminal in the folder given as
// its first argument: the system's choice (x-terminal-emulator), else a
// terminal found on the path.
extern const char* const desktopTerminalScript;

}  // namespace quorvane::triggers
