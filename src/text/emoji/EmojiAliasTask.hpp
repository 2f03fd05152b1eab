#pragma once

#include "core/CanToggle.hpp"
#include "core/Tweak.hpp"
#include "text/TextServices.hpp"
#include "text/emoji/EmojiAliasManager.hpp"

namespace quorvane::text {

// While on, a colon shortcode typed in any application offers the matching
// emoji and replaces the shortcode with the chosen one. Needs Accessibility.
class EmojiAliasTask final : public core::BuiltinTweak, public core::CanPToggle {
  public:
    EmojiAliasTask(core::TweakInfo info, core::PKeyPath field, TextServices& services)
        : BuiltinTweak(std::move(info)),
          CanPToggle(services.store, field),
          services_(services),
          manager_(services, id()) {}

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

    EmojiAliasManager& manager() { return manager_; }

  private:
    TextServices& services_;
    mutable EmojiAliasManager manager_;
};

}  // namespace quorvane::text
