#include "platform/Log.hpp"

namespace quorvane::platform {

std::string_view logLevelName(LogLevel level) {
    switch (level) {
        case LogLevel::info:
            return "info";
        case LogLevel::warning:
            return "warning";
        case LogLevel::error:
            return "error";
    }
    return "info";
}

}  // namespace quorvane::platform
