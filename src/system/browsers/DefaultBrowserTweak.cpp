#include "system/browsers/DefaultBrowserTweak.hpp"

namespace quorvane::system {

core::RunOutcome DefaultBrowserTweak::run() {
    return core::RunOutcome::refused(installed_.empty()
                                         ? "no browser the tweak knows is installed"
                                         : "choose the browser in its list");
}

namespace {

const Browser* currentDefault(platform::Browsers& browsers) {
    const auto handler = browsers.defaultFor("http");
    return handler ? findBrowser(*handler) : nullptr;
}

}  // namespace

void DefaultBrowserTweak::read() const {
    reload<const Browser*>(currentDefault, [this](const Browser* current) { current_ = current; });
}

void DefaultBrowserTweak::choose(const std::string& rawValue) const {
    const Browser* browser = findBrowser(rawValue);
    if (!browser)
        return;
    helper_.submit([this, bundle = std::string(browser->bundleIdentifier)] {
        for (const std::string scheme : {"http", "https"}) {
            platform::Status set = platform::success();
            const auto before = browsers_.defaultFor(scheme);
            services_.switches.change(id(), "default browser " + scheme,
                                  [&] { set = browsers_.setDefault(scheme, bundle); });
            // Where the desktop keeps it (mimeapps.list) nothing else says so.
            if (set && before != bundle)
                services_.journal.record(id(), "default browser", scheme + " links open in " + bundle);
            if (!set) {
                services_.log.warning(id(), "Error setting default browser: " + set.error().message);
                break;
            }
        }
    });
    read();
}

}  // namespace quorvane::system
