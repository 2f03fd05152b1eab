#pragma once

#include "core/Tweak.hpp"

namespace quorvane::core {

// Tweaks whose effect must not outlive the program: undone at exit.
class ShouldResetWhenTerminate {
  public:
    virtual ~ShouldResetWhenTerminate() = default;
    virtual void resetWhenTerminate() = 0;
};

inline ShouldResetWhenTerminate* asResetWhenTerminate(Tweak& tweak) {
    return dynamic_cast<ShouldResetWhenTerminate*>(&tweak);
}

}  // namespace quorvane::core
