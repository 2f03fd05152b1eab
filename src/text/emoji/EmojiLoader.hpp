#pragma once

#include <filesystem>
#include <vector>

#include "platform/FileReading.hpp"
#include "platform/Log.hpp"
#include "text/emoji/Emoji.hpp"

namespace quorvane::text {

// The emoji table shipped beside the program ("emoji.json", made at build
// time by tools/make-emoji-table.py): one JSON array of Emoji objects, in
// file order, read by `read`. A file that is missing, not a regular file,
// too large or does not decode gives an empty table and one log line.
// Blocks on the disk: call it off the main thread.
class EmojiLoader {
  public:
    static constexpr std::size_t maxBytes = 16u << 20;

    EmojiLoader(std::filesystem::path table, platform::Log& log, platform::ReadWholeFile read)
        : table_(std::move(table)), log_(log), read_(std::move(read)) {}

    std::vector<Emoji> load() const;

  private:
    std::filesystem::path table_;
    platform::Log& log_;
    platform::ReadWholeFile read_;
};

}  // namespace quorvane::text
