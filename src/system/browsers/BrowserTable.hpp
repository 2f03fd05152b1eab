#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Browsers.hpp"

namespace quorvane::system {

// A browser the browser tweaks know, in the order they list them.
struct Browser {
    std::string_view rawValue;  // "chrome"
    std::string_view title;     // "Chrome"
    std::string_view bundleIdentifier;
    std::string_view applicationName;  // its bundle is "/Applications/<name>.app"
};

const std::vector<Browser>& browserTable();
// By raw value or title, in any case ("safari", "Brave"), or by bundle
// identifier.
const Browser* findBrowser(std::string_view name);
// The known browsers that are installed, in the table's order. Blocks.
std::vector<const Browser*> installedBrowsers(platform::Browsers& browsers);

// The first link in `text` whose scheme is exactly http or https (a word
// of its own: "xhttp://" is none), without the punctuation that closes a
// sentence around it; nothing when there is none.
std::optional<std::string> firstLink(std::string_view text);

}  // namespace quorvane::system
