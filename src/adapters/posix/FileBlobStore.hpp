#pragma once

#include <filesystem>
#include <memory>

#include "platform/BlobStore.hpp"

namespace quorvane::platform::posix {

// One file per key, "<key>.json" (or the key and another suffix), in a
// folder private to the user. Every write replaces the file atomically.
class FileBlobStore final : public BlobStore {
  public:
    // Records are small: 10,000 script tweaks take about 3.6 MB, a thousand
    // workflows with ten members each under 1 MB. Anything bigger is not one
    // of ours, and decoding it would take far more memory than it is worth.
    static constexpr std::size_t maxBlobBytes = 8 * 1024 * 1024;

    // Creates the folder if needed; fails when it cannot be made or used.
    static Result<std::unique_ptr<FileBlobStore>> open(std::filesystem::path directory,
                                                        std::string suffix = ".json");
    // For commands that only show things: loads, and refuses to save or
    // move anything; the folder need not exist.
    static std::unique_ptr<FileBlobStore> openReadOnly(std::filesystem::path directory);

    Result<std::optional<std::string>> load(const std::string& key) const override;
    Status save(const std::string& key, const std::string& bytes) override;
    Result<std::string> moveAside(const std::string& key) override;
    Status remove(const std::string& key) override;
    std::string location() const override { return directory_.string(); }

    std::filesystem::path pathFor(const std::string& key) const;

  private:
    FileBlobStore(std::filesystem::path directory, bool readOnly, std::string suffix = ".json")
        : directory_(std::move(directory)), readOnly_(readOnly), suffix_(std::move(suffix)) {}

    std::filesystem::path directory_;
    bool readOnly_;
    std::string suffix_;
};

}  // namespace quorvane::platform::posix
