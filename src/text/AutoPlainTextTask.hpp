#pragma once

#include "core/CanToggle.hpp"
#include "text/ClipboardManager.hpp"

namespace quorvane::text {

// While on, every new content of the pasteboard is converted to plain text.
class AutoPlainTextTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    AutoPlainTextTask(core::TweakInfo info, core::PKeyPath field, core::Store& store,
                      ClipboardManager& clipboard)
        : BuiltinTweak(std::move(info)), CanPToggle(store, field), clipboard_(clipboard) {}

    core::RunOutcome run() override {
        if (isOn())
            clipboard_.start();
        else
            clipboard_.stop();
        return core::RunOutcome::done();
    }

  private:
    ClipboardManager& clipboard_;
};

}  // namespace quorvane::text
