#include "adapters/posix/FileBlobStore.hpp"

#include <unistd.h>

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::posix {

namespace {

Error invalidKey(const std::string& key) {
    return Error{"invalid record key \"" + key + "\""};
}

// A save's temporary file: ".<key>.json." and the six characters mkostemp
// chose.
bool isSaveTemporary(const std::string& name) {
    constexpr std::string_view middle = ".json.";
    const auto at = name.rfind(middle);
    return name.size() > 1 && name.front() == '.' && at != std::string::npos && at > 1 &&
           name.size() - (at + middle.size()) == 6;
}

// Temporaries of saves that were killed before their rename. Only ours, and
// only ones older than this process: another instance's save may be under way.
void removeStaleTemporaries(const std::filesystem::path& directory) {
    const auto started = processStartTime();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        std::error_code ignored;
        if (!entry.is_regular_file(ignored) || !isSaveTemporary(entry.path().filename().string()))
            continue;
        if (entry.last_write_time(ignored) < started)
            std::filesystem::remove(entry.path(), ignored);
    }
}

}  // namespace

Result<std::unique_ptr<FileBlobStore>> FileBlobStore::open(std::filesystem::path directory,
                                                           std::string suffix) {
    if (auto made = makePrivateDirectory(directory); !made)
        return made.error();
    if (::access(directory.c_str(), R_OK | W_OK | X_OK) != 0)
        return Error{"cannot use " + directory.string() + ": not readable and writable"};
    removeStaleTemporaries(directory);
    return std::unique_ptr<FileBlobStore>(
        new FileBlobStore(std::move(directory), false, std::move(suffix)));
}

std::unique_ptr<FileBlobStore> FileBlobStore::openReadOnly(std::filesystem::path directory) {
    return std::unique_ptr<FileBlobStore>(new FileBlobStore(std::move(directory), true));
}

std::filesystem::path FileBlobStore::pathFor(const std::string& key) const {
    return directory_ / (key + suffix_);
}

Result<std::optional<std::string>> FileBlobStore::load(const std::string& key) const {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    return readFile(pathFor(key), maxBlobBytes);
}

Status FileBlobStore::save(const std::string& key, const std::string& bytes) {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    if (readOnly_)
        return Error{"this command changes no file"};
    return writeFileAtomically(pathFor(key), bytes);
}

Status FileBlobStore::remove(const std::string& key) {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    if (readOnly_)
        return Error{"this command changes no file"};
    std::error_code error;
    std::filesystem::remove(pathFor(key), error);
    if (error)
        return Error{"cannot remove " + pathFor(key).string() + ": " + error.message()};
    return success();
}

Result<std::string> FileBlobStore::moveAside(const std::string& key) {
    if (!isValidBlobKey(key))
        return invalidKey(key);
    if (readOnly_)
        return Error{"this command changes no file"};
    auto moved = posix::moveAside(pathFor(key));
    if (!moved)
        return moved.error();
    return moved.value().string();
}

}  // namespace quorvane::platform::posix
