#pragma once

#include <map>
#include <set>

#include "platform/BlobStore.hpp"

namespace quorvane::platform::memory {

// Blobs in a map. Writes to keys named in `failingKeys` fail, so callers'
// handling of a full disk or a read-only folder can be exercised.
class MemoryBlobStore final : public BlobStore {
  public:
    Result<std::optional<std::string>> load(const std::string& key) const override;
    Status save(const std::string& key, const std::string& bytes) override;
    Result<std::string> moveAside(const std::string& key) override;
    Status remove(const std::string& key) override;
    std::string location() const override { return "memory"; }

    std::map<std::string, std::string> blobs;
    std::set<std::string> failingKeys;
    int saveCount = 0;
};

}  // namespace quorvane::platform::memory
