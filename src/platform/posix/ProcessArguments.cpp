#include "platform/posix/ProcessArguments.hpp"

extern char** environ;

namespace quorvane::platform::posix {

CStringArray::CStringArray(std::vector<std::string> strings) : strings_(std::move(strings)) {
    for (auto& text : strings_)
        pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
}

std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string variable(*entry);
        if (!overrides.contains(variable.substr(0, variable.find('='))))
            variables.push_back(variable);
    }
    for (const auto& [name, value] : overrides)
        variables.push_back(name + "=" + value);
    return variables;
}

}  // namespace quorvane::platform::posix
