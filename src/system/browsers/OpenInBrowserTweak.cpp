#include "system/browsers/OpenInBrowserTweak.hpp"

#include <algorithm>

namespace quorvane::system {

std::optional<std::string> OpenInBrowserTweak::link() const {
    const auto text = services_.pasteboard.string();
    auto found = text ? firstLink(*text) : std::nullopt;
    if (!found)
        services_.log.info(id(), "no link found in clipboard");
    return found;
}

core::RunOutcome OpenInBrowserTweak::run() {
    auto url = link();
    if (!url)
        return core::RunOutcome::refused(core::clipboardHoldsNoLink);
    // Which browser is decided on the helper, from what is installed then.
    open(std::move(*url), lastChosen_);
    return core::RunOutcome::done();
}

void OpenInBrowserTweak::choose(const std::string& rawValue) const {
    const Browser* browser = findBrowser(rawValue);
    if (!browser)
        return;
    lastChosen_ = browser;
    changed_.emit();
    if (auto url = link())
        open(std::move(*url), browser);
}

void OpenInBrowserTweak::open(std::string url, const Browser* chosen) const {
    helper_.submit([this, url = std::move(url), chosen] {
        const Browser* browser = chosen && browsers_.isInstalled(std::string(chosen->bundleIdentifier))
                                     ? chosen
                                     : nullptr;
        if (!browser) {
            const auto installed = installedBrowsers(browsers_);
            browser = installed.empty() ? nullptr : installed.front();
        }
        if (!browser) {
            services_.log.warning(id(), "Error opening in browser: no browser is installed");
            return;
        }
        services_.journal.record(id(), "open url", url + " with " + std::string(browser->title));
        if (auto opened = browsers_.open({url}, std::string(browser->bundleIdentifier)); !opened)
            services_.log.warning(id(), "Error opening in browser: " + opened.error().message);
    });
}

void OpenInBrowserTweak::read() const {
    reload<bool>([](platform::Browsers&) { return true; }, [](bool) {});
}

}  // namespace quorvane::system
