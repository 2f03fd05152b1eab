#pragma once

#include "core/Tweak.hpp"
#include "text/PlainTextService.hpp"

namespace quorvane::text {

// Converts the rich text on the pasteboard to plain text, once.
class PlainTextTask final : public core::BuiltinTweak {
  public:
    PlainTextTask(core::TweakInfo info, PlainTextService& service)
        : BuiltinTweak(std::move(info)), service_(service) {}

    core::RunOutcome run() override {
        service_.convert(id());
        return core::RunOutcome::done();
    }

  private:
    PlainTextService& service_;
};

}  // namespace quorvane::text
