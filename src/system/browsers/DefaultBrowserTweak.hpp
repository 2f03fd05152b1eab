#pragma once

#include "system/browsers/BrowserPanelTweak.hpp"

namespace quorvane::system {

// Changes the system's default web browser from its extra panel: one item
// per installed browser, the current default marked. A choice becomes the
// default for "http" and "https" alike (a browser that opens only one of
// them is a half-made choice), then the default is read again.
class DefaultBrowserTweak final : public BrowserPanelTweak {
  public:
    using BrowserPanelTweak::BrowserPanelTweak;

    void choose(const std::string& rawValue) const override;
    // The choice is made in its list: a run alone changes nothing, and
    // says so rather than "Done".
    core::RunOutcome run() override;

  private:
    void read() const override;
    const Browser* marked() const override { return current_; }

    mutable const Browser* current_ = nullptr;
};

}  // namespace quorvane::system
