#pragma once

#include "core/Setting.hpp"
#include "core/Tweak.hpp"
#include "text/TextServices.hpp"

namespace quorvane::text {

// Follows the redirects of the link on the pasteboard with a HEAD request
// and puts the last address back, as text and as a URL, optionally without
// its query, optionally announcing it. A failed request changes nothing.
class ExpandLinkTask final : public core::BuiltinTweak {
  public:
    static const core::BoolSetting removesParameters;
    static const core::BoolSetting showsAlert;

    ExpandLinkTask(core::TweakInfo info, TextServices& services)
        : BuiltinTweak(std::move(info)), services_(services) {}

    core::RunOutcome run() override;
    core::ConfigureForm configureView() const override;

  private:
    void expanded(const std::string& finalUrl, long countRead);

    TextServices& services_;
};

}  // namespace quorvane::text
