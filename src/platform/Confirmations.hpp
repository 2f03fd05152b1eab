#pragma once

#include <functional>
#include <string>

namespace quorvane::platform {

// A question the user answers before something happens: a message, the
// details, a button that goes ahead and one that cancels, and an option to
// stop asking.
struct Confirmation {
    std::string message;
    std::string informativeText;
    std::string confirmTitle;  // "Run"
    std::string optionTitle;   // a check box; empty: none
};

struct ConfirmationAnswer {
    bool confirmed = false;
    bool option = false;        // the check box, when confirmed
    bool closedAtQuit = false;  // not confirmed: the program quit with the question open
};

// Asks without blocking; the answer comes on the main queue. Main thread only.
class Confirmations {
  public:
    using Answer = std::function<void(ConfirmationAnswer)>;

    virtual ~Confirmations() = default;
    virtual void ask(const Confirmation& confirmation, Answer answer) = 0;
};

}  // namespace quorvane::platform
