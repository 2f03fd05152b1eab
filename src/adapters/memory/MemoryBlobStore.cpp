#include "adapters/memory/MemoryBlobStore.hpp"

namespace quorvane::platform::memory {

Result<std::optional<std::string>> MemoryBlobStore::load(const std::string& key) const {
    if (!isValidBlobKey(key))
        return Error{"invalid key \"" + key + "\""};
    auto found = blobs.find(key);
    if (found == blobs.end())
        return std::optional<std::string>{};
    return std::optional<std::string>{found->second};
}

Status MemoryBlobStore::save(const std::string& key, const std::string& bytes) {
    if (!isValidBlobKey(key))
        return Error{"invalid key \"" + key + "\""};
    if (failingKeys.contains(key))
        return Error{"cannot write \"" + key + "\""};
    blobs[key] = bytes;
    ++saveCount;
    return success();
}

Status MemoryBlobStore::remove(const std::string& key) {
    if (!isValidBlobKey(key))
        return Error{"invalid key \"" + key + "\""};
    if (failingKeys.contains(key))
        return Error{"cannot remove \"" + key + "\""};
    blobs.erase(key);
    return success();
}

Result<std::string> MemoryBlobStore::moveAside(const std::string& key) {
    auto found = blobs.find(key);
    if (found == blobs.end())
        return Error{"no blob \"" + key + "\""};
    std::string aside = key + ".undecodable";
    for (int n = 2; blobs.contains(aside); ++n)
        aside = key + ".undecodable-" + std::to_string(n);
    blobs[aside] = std::move(found->second);
    blobs.erase(found);
    return aside;
}

}  // namespace quorvane::platform::memory
