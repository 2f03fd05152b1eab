#pragma once

namespace quorvane::platform {

// Whether the program shows in the Dock and the app switcher: a regular
// application while its main window is open, an accessory (status item
// only) otherwise.
class ActivationPolicy {
  public:
    virtual ~ActivationPolicy() = default;
    virtual void becomeRegular() = 0;
    virtual void becomeAccessory() = 0;
};

}  // namespace quorvane::platform
