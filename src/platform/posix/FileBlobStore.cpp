#include "platform/posix/FileBlobStore.hpp"

#include <unistd.h>

#include "platform/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {
Error invalidKey(const std::string& key) {
    return Error{"invalid record key \"" + key + "\""};
}
}  // namespace

Result<std::unique_ptr<FileBlobStore>> FileBlobStore::open(std::filesystem::path directory) {
    if (auto made = makePrivateDirectory(directory); !made)
        return made.error();
    if (::access(directory.c_str(), R_OK | W_OK | X_OK) != 0)
        return Error{"cannot use " + directory.string() + ": not readable and writable"};
    return std::unique_ptr<FileBlobStore>(new FileBlobStore(std::move(directory)));
}

std::filesystem::path FileBlobStore::pathFor(const std::string& key) const {
    return directory_ / (key + ".json");
}

Result<std::optional<std::string>> FileBlobStore::load(const std::string& key) const {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    return readFile(pathFor(key), maxBlobBytes);
}

Status FileBlobStore::save(const std::string& key, const std::string& bytes) {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    return writeFileAtomically(pathFor(key), bytes);
}

Result<std::string> FileBlobStore::moveAside(const std::string& key) {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    auto moved = posix::moveAside(pathFor(key));
    if (!moved)
        return moved.error();
    return moved.value().string();
}

}  // namespace quorvane::platform::posix
