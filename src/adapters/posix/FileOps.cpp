#include "adapters/posix/FileOps.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

namespace quorvane::platform::posix {

namespace fs = std::filesystem;

namespace {

Error errnoError(const std::string& what, const fs::path& path, int code) {
    return Error{what + " " + path.string() + ": " + std::strerror(code)};
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

Status writeAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Error{std::strerror(errno)};
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return success();
}

void syncDirectory(const fs::path& directory) {
    // Makes the rename itself durable; a failure here loses nothing already
    // written, so it is not reported.
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string utcStamp() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%dT%H%M%SZ", &parts);
    return buffer;
}

}  // namespace

Status makePrivateDirectory(const fs::path& directory) {
    std::vector<fs::path> missing;
    for (fs::path p = directory; !p.empty(); p = p.parent_path()) {
        std::error_code ec;
        if (fs::exists(p, ec))
            break;
        missing.push_back(p);
        if (p == p.parent_path())
            break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST)
            return errnoError("cannot create", *it, errno);
    }
    std::error_code ec;
    if (!fs::is_directory(directory, ec))
        return Error{"not a folder: " + directory.string()};
    return success();
}

Result<std::optional<std::string>> readFile(const fs::path& path, std::size_t maxBytes) {
    // Without blocking: a FIFO in the file's place would wait for a writer
    // forever. Only a regular file is read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return std::optional<std::string>{};
        return errnoError("cannot open", path, errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return errnoError("cannot inspect", path, errno);
    if (!S_ISREG(info.st_mode))
        return Error{"not a regular file: " + path.string()};
    if (static_cast<std::size_t>(info.st_size) > maxBytes)
        return Error{path.string() + " is larger than " + std::to_string(maxBytes) + " bytes"};

    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errnoError("cannot read", path, errno);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes)
            return Error{path.string() + " is larger than " + std::to_string(maxBytes) + " bytes"};
    }
    return std::optional<std::string>{std::move(bytes)};
}

Status writeFileAtomically(const fs::path& path, const std::string& bytes) {
    const fs::path directory = path.parent_path();
    std::string pattern = (directory / ("." + path.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return errnoError("cannot create a temporary file in", directory, errno);
    const fs::path temporary = pattern;

    auto fail = [&](Error error) -> Status {
        ::unlink(temporary.c_str());
        return error;
    };
    if (auto written = writeAll(fd.get(), bytes); !written)
        return fail(Error{"cannot write " + temporary.string() + ": " + written.error().message});
    if (::fsync(fd.get()) != 0)
        return fail(errnoError("cannot flush", temporary, errno));
    if (::close(fd.release()) != 0)
        return fail(errnoError("cannot close", temporary, errno));
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return fail(errnoError("cannot replace", path, errno));
    syncDirectory(directory);
    return success();
}

Result<fs::path> moveAside(const fs::path& path) {
    const std::string base = path.string() + ".undecodable-" + utcStamp();
    fs::path target = base;
    std::error_code ec;
    for (int n = 2; fs::exists(target, ec) || ec; ++n) {
        if (ec)
            return Error{"cannot inspect " + target.string() + ": " + ec.message()};
        target = base + "-" + std::to_string(n);
    }
    if (::rename(path.c_str(), target.c_str()) != 0)
        return errnoError("cannot move aside", path, errno);
    syncDirectory(path.parent_path());
    return target;
}

}  // namespace quorvane::platform::posix
