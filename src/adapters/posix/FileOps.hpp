#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Log.hpp"
#include "platform/Result.hpp"

namespace quorvane::platform::posix {

// The few file operations every on-disk record needs, done once and carefully.

// An open file descriptor, closed with the object.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    int release();

  private:
    int fd_ = -1;
};

// What a file is opened for.
enum class FileAccess { read, readWrite, append };

// A file opened by openRegularFile or openOwnFile, and its size then.
struct OpenedFile {
    FileDescriptor descriptor;
    std::size_t size = 0;
};

// Opens a file to read or append to without ever waiting: with O_NONBLOCK a
// FIFO (or a device) in its place answers at once instead of holding the
// program until a writer or reader comes, and fstat then lets through only a
// regular file of at most `maxBytes`. Nothing when it does not exist; to
// append, a missing file is made (private to the user). Links are followed.
Result<std::optional<OpenedFile>> openRegularFile(const std::filesystem::path& path,
                                                  FileAccess access, std::size_t maxBytes);

// Opens one of the program's own files as openRegularFile does, but a link
// in its place is not followed. What is there and is not a regular file of
// at most `maxBytes` (a FIFO, a folder, a device, a link, a runaway file) is
// set aside like a damaged record (moveAside), said in `log` under `source`;
// to append, a new file then takes its place, else there is nothing.
Result<std::optional<OpenedFile>> openOwnFile(const std::filesystem::path& path, FileAccess access,
                                              std::size_t maxBytes, Log& log,
                                              std::string_view source);

// Creates the folder and its parents, private to the user (0700) where new.
Status makePrivateDirectory(const std::filesystem::path& directory);

// Reads a whole file. Nothing when it does not exist; an error when it cannot
// be read or is larger than `maxBytes` (stored files are not trusted to be sane).
Result<std::optional<std::string>> readFile(const std::filesystem::path& path,
                                            std::size_t maxBytes);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`, so a crash leaves either the old file or the new.
Status writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);
// When this process started (the kernel dates /proc/self then); now, when
// that cannot be read.
std::filesystem::file_time_type processStartTime();
// Removes the temporaries writeFileAtomically left beside `path` when killed
// before its rename (".NAME.XXXXXX"), those last written before `before`:
// processStartTime() where another process's save may be under way.
void removeStaleTemporariesOf(const std::filesystem::path& path,
                              std::filesystem::file_time_type before);

// Renames a file that could not be understood to "<name>.undecodable-<UTC time>"
// (with a counter when that exists) and answers the new path.
Result<std::filesystem::path> moveAside(const std::filesystem::path& path);

// The executable `program` (a bare name) in the first of `searchPath`'s
// absolute folders (a PATH value) that has one; nothing: none has.
std::optional<std::filesystem::path> findExecutable(const std::string& program,
                                                    const std::string& searchPath);

}  // namespace quorvane::platform::posix
