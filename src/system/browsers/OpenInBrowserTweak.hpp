#pragma once

#include <optional>

#include "system/browsers/BrowserPanelTweak.hpp"

namespace quorvane::system {

// Opens the link on the clipboard in a browser: run() uses the browser
// last chosen in the extra panel while it is installed, else the first
// installed one; a click on a panel item opens the link there and makes it
// the one chosen (for this run of the program).
class OpenInBrowserTweak final : public BrowserPanelTweak {
  public:
    using BrowserPanelTweak::BrowserPanelTweak;

    core::RunOutcome run() override;
    void choose(const std::string& rawValue) const override;

  private:
    void read() const override;
    const Browser* marked() const override { return lastChosen_; }
    // The clipboard's link, or nothing (logged).
    std::optional<std::string> link() const;
    void open(std::string url, const Browser* chosen) const;

    mutable const Browser* lastChosen_ = nullptr;
};

}  // namespace quorvane::system
