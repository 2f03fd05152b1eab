#pragma once

#include <functional>
#include <vector>

#include "core/SerialExecutor.hpp"
#include "core/Signal.hpp"
#include "core/Tweak.hpp"
#include "platform/Browsers.hpp"
#include "system/SystemServices.hpp"
#include "system/browsers/BrowserTable.hpp"

namespace quorvane::system {

// What the two browser tweaks share: the installed browsers, read on the
// browser helper (which does every system call) and kept on the main
// thread for their extra panels, which redraw when `changed_` says so.
class BrowserPanelTweak : public core::BuiltinTweak {
  public:
    BrowserPanelTweak(core::TweakInfo info, SystemServices& services, platform::Browsers& browsers,
                      core::SerialExecutor& helper)
        : BuiltinTweak(std::move(info)), services_(services), browsers_(browsers), helper_(helper) {}

    const std::vector<const Browser*>& installed() const { return installed_; }

    // One item per installed browser, the marked one marked; the installed
    // browsers are read again each time the panel is made (shown).
    core::ExtraPanel extraView() const final;
    void refresh() final { read(); }
    // A click on a browser in the panel, by its raw value.
    virtual void choose(const std::string& rawValue) const = 0;

  protected:
    // Reads what is installed (and what the tweak marks) again.
    virtual void read() const = 0;
    virtual const Browser* marked() const = 0;

    // Reads the installed browsers and `more` on the helper; hands both to
    // `apply` on the main queue, then announces the change.
    template <class More>
    void reload(std::function<More(platform::Browsers&)> more,
                std::function<void(More)> apply) const {
        helper_.submit([this, more = std::move(more), apply = std::move(apply)] {
            auto installed = installedBrowsers(browsers_);
            auto extra = more(browsers_);
            services_.mainQueue.post([this, installed = std::move(installed), apply,
                                      extra = std::move(extra)]() mutable {
                installed_ = std::move(installed);
                apply(std::move(extra));
                changed_.emit();
            });
        });
    }

    SystemServices& services_;
    platform::Browsers& browsers_;
    core::SerialExecutor& helper_;
    // The panel's state: read (and chosen) from its const view.
    mutable std::vector<const Browser*> installed_;
    mutable core::Signal<> changed_;
};

}  // namespace quorvane::system
