#include "simmac/SimHotkeys.hpp"

namespace quorvane::platform::sim {

bool SimHotkeys::press(const KeyCombination& combination) {
    if (!isGrabbed(combination))
        return false;
    deliver(combination);
    return true;
}

Status SimHotkeys::grab(const KeyCombination& combination) {
    if (systemCombinations.contains(combination.text))
        return Error{combination.text + " is used by the system"};
    grabbed_.insert(combination.text);
    return success();
}

void SimHotkeys::release(const KeyCombination& combination) {
    grabbed_.erase(combination.text);
}

}  // namespace quorvane::platform::sim
