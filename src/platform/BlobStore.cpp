#include "platform/BlobStore.hpp"

#include <algorithm>

namespace quorvane::platform {

bool isValidBlobKey(const std::string& key) {
    if (key.empty() || key.size() > 128 || key.front() == '.')
        return false;
    return std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '_' || c == '-';
    });
}

}  // namespace quorvane::platform
