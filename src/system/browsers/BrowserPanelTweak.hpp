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

  protected:
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

    // The panel's items, one per installed browser, `marked` the current one.
    std::vector<core::ExtraPanel::Item> items(const Browser* marked) const;
    core::Subscription observe(std::function<void()> changed) const {
        return changed_.subscribe([changed = std::move(changed)] { changed(); });
    }

    SystemServices& services_;
    platform::Browsers& browsers_;
    core::SerialExecutor& helper_;
    // The panel's state: read (and chosen) from its const view.
    mutable std::vector<const Browser*> installed_;
    mutable core::Signal<> changed_;
};

}  // namespace quorvane::system
