#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Browsers.hpp"

namespace quorvane::platform::posix {

// The desktop's browsers, as the freedesktop standards keep them: a
// browser is installed when its desktop entry is in an applications folder
// of the data folders; a scheme's default is the first handler listed for
// "x-scheme-handler/<scheme>" in the mimeapps.list files, in their order;
// a new default goes to the user's own mimeapps.list. A browser opens a URL
// through its entry's Exec line, the URL one argument of its own, with no
// shell between. Bundle identifiers map to desktop entries through one
// table; Safari, Arc and Onion have none here.
class XdgBrowsers final : public Browsers {
  public:
    struct Folders {
        std::filesystem::path configHome;
        std::vector<std::filesystem::path> configDirs;
        std::filesystem::path dataHome;
        std::vector<std::filesystem::path> dataDirs;
    };

    explicit XdgBrowsers(Folders folders) : folders_(std::move(folders)) {}
    // The folders the environment names ($XDG_CONFIG_DIRS and
    // $XDG_DATA_DIRS with their defaults).
    static Folders foldersFromEnvironment(const std::filesystem::path& configHome,
                                          const std::filesystem::path& dataHome);

    bool isInstalled(const std::string& bundleIdentifier) override;
    std::optional<std::string> defaultFor(const std::string& scheme) override;
    Status setDefault(const std::string& scheme, const std::string& bundleIdentifier) override;
    Status open(const std::vector<std::string>& urls, const std::string& bundleIdentifier) override;

  private:
    std::optional<std::filesystem::path> entryOf(const std::string& bundleIdentifier) const;

    Folders folders_;
};

// An Exec line's arguments for opening `url` (the desktop entry
// format's quoting; %u, %U, %f and %F become the URL, %% a percent,
// other field codes go; with none, the URL comes last). Nothing when the
// line cannot be read.
std::optional<std::vector<std::string>> execArguments(std::string_view exec,
                                                      const std::string& url);

}  // namespace quorvane::platform::posix
