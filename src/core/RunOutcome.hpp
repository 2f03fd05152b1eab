#pragma once

#include <string>
#include <utility>

namespace quorvane::core {

// What came of one run() of a tweak, as the tweak itself knows it when it
// returns: done (or, for slow work, under way), refused with its reason, or
// unavailable here. Every place that runs a tweak tells the person this, and
// never "Done" for a refusal.
class RunOutcome {
  public:
    enum class Kind { done, refused, unavailable };

    static RunOutcome done() { return RunOutcome(Kind::done, {}, false); }
    // `alertShown`: the tweak has already told the person why in an alert.
    static RunOutcome refused(std::string reason, bool alertShown = false) {
        return RunOutcome(Kind::refused, std::move(reason), alertShown);
    }
    static RunOutcome unavailable(std::string reason) {
        return RunOutcome(Kind::unavailable, std::move(reason), false);
    }

    Kind kind() const { return kind_; }
    bool isDone() const { return kind_ == Kind::done; }
    const std::string& reason() const { return reason_; }
    bool alertShown() const { return alertShown_; }

    // The word the command line and the control socket use for the kind.
    const char* kindName() const {
        switch (kind_) {
            case Kind::done:
                return "done";
            case Kind::refused:
                return "refused";
            case Kind::unavailable:
                return "unavailable";
        }
        return "done";
    }

  private:
    RunOutcome(Kind kind, std::string reason, bool alertShown)
        : kind_(kind), reason_(std::move(reason)), alertShown_(alertShown) {}

    Kind kind_;
    std::string reason_;
    bool alertShown_;
};

}  // namespace quorvane::core
