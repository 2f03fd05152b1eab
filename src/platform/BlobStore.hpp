#pragma once

#include <optional>
#include <string>

#include "platform/Result.hpp"

namespace quorvane::platform {

// One blob of bytes per key. Keys are short names chosen by the program
// ("preference", "AutomationManager.automation"); stores refuse anything that
// could name a path outside themselves.
class BlobStore {
  public:
    virtual ~BlobStore() = default;

    // Nothing when the key has never been written.
    virtual Result<std::optional<std::string>> load(const std::string& key) const = 0;
    // Replaces the blob as a whole: a reader sees the old bytes or the new,
    // never a mix, even when the process dies half-way.
    virtual Status save(const std::string& key, const std::string& bytes) = 0;
    // Removes the key's blob; nothing to remove is not a failure.
    virtual Status remove(const std::string& key) = 0;
    // Keeps a blob that could not be understood out of harm's way and
    // answers the name it now has, so that it can be told to the user.
    virtual Result<std::string> moveAside(const std::string& key) = 0;
    // Where the blobs live, for people to read.
    virtual std::string location() const = 0;
};

bool isValidBlobKey(const std::string& key);

}  // namespace quorvane::platform
