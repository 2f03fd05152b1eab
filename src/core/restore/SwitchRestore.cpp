#include "core/restore/SwitchRestore.hpp"

#include "core/CanToggle.hpp"
#include "core/restore/StateTable.hpp"

namespace quorvane::core {

platform::Result<std::optional<std::string>> SwitchRestore::read(const std::string& target) {
    const auto tweak = catalogue_.find(target);
    auto* toggle = tweak ? asToggle(*tweak) : nullptr;
    if (!toggle)
        return platform::Error{"no switch \"" + target + "\" is in the catalogue"};
    return std::optional<std::string>{onOffText(toggle->isOn())};
}

platform::Status SwitchRestore::write(const std::string& target,
                                      const std::optional<std::string>& value) {
    if (value != "on" && value != "off")
        return platform::Error{"a switch is \"on\" or \"off\""};
    const auto tweak = catalogue_.find(target);
    if (!tweak || !asToggle(*tweak))
        return platform::Error{"no switch \"" + target + "\" is in the catalogue"};
    auto outcome = switchAndApply(*tweak, value == "on", /*applyUnchanged=*/false);
    if (!outcome.isDone())
        return platform::Error{outcome.reason()};
    return platform::success();
}

}  // namespace quorvane::core
