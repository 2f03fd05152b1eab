#include "input/InputStates.hpp"

#include "input/keyboard/EnableStandardFKeyTask.hpp"
#include "input/keyboard/SpellingLanguages.hpp"

namespace quorvane::input {

using platform::Error;
using platform::Result;
using platform::Status;
using Value = std::optional<std::string>;

void addInputStates(core::StateTable& states, platform::HidSystem* hid,
                    platform::ShellRunner* shell) {
    if (hid)
        states.add(
            "standard function keys",
            [hid](const std::string&) -> Result<Value> {
                const auto held = hid->parameter(EnableStandardFKeyTask::parameter);
                if (!held)
                    return Error{"the F-key mode cannot be read"};
                return Value{core::onOffText(*held == 1)};
            },
            [hid](const std::string&, const Value& value) -> Status {
                if (value != "on" && value != "off")
                    return Error{"the F-key mode is \"on\" or \"off\""};
                return hid->setParameter(EnableStandardFKeyTask::parameter, value == "on" ? 1 : 0);
            });
    if (shell)
        states.add(
            "spelling language",
            [shell](const std::string&) -> Result<Value> {
                // Not set: the read fails, and the language is automatic.
                auto read = shell->run(readSpellingLanguageCommand());
                if (!read || read.value().empty())
                    return Value{};
                return Value{read.value()};
            },
            [shell](const std::string&, const Value& value) -> Status {
                auto written = shell->run(
                    value ? writeSpellingLanguageCommand(*value)
                          : std::string("defaults delete -g NSPreferredSpellServerLanguage"));
                if (!written)
                    return written.error();
                return platform::success();
            });
}

}  // namespace quorvane::input
