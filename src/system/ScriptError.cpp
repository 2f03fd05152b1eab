#include "system/ScriptError.hpp"

namespace quorvane::system {

namespace {

const std::string* textFor(const platform::ScriptErrorInfo& info, const char* key) {
    auto found = info.find(key);
    if (found == info.end())
        return nullptr;
    return std::get_if<std::string>(&found->second);
}

}  // namespace

std::int64_t ScriptError::number() const {
    auto found = info_.find("NSAppleScriptErrorNumber");
    if (found == info_.end())
        return 0;
    const auto* number = std::get_if<std::int64_t>(&found->second);
    return number ? *number : 0;
}

std::string ScriptError::message() const {
    switch (kind_) {
        case Kind::appleScript:
            if (auto text = textFor(info_, "NSAppleScriptErrorMessage"))
                return *text;
            if (auto text = textFor(info_, "OSAScriptErrorMessageKey"))
                return *text;
            return "Failed to execute this script";
        case Kind::commandLine:
            return text_;
        case Kind::cannotInit:
            return "Failed to construct script request";
        case Kind::cancelled:
            return "Cancelled";
        case Kind::unknown:
            return "Can not execute this script";
    }
    return "Can not execute this script";
}

}  // namespace quorvane::system
