#include "adapters/posix/FileOps.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Why a file could not be opened: it is missing, it is there but is not
// fit to be read or appended to (not a regular file, too large), or the
// system refused.
enum class Refusal { none, missing, unfit, failed };

struct Attempt {
    OpenedFile file;
    Refusal refusal = Refusal::none;
    std::string problem;  // for a log line: what is wrong with the file
};

Attempt refused(Refusal refusal, std::string problem = {}) {
    Attempt attempt;
    attempt.refusal = refusal;
    attempt.problem = std::move(problem);
    return attempt;
}

Attempt attemptOpen(const fs::path& path, FileAccess access, std::size_t maxBytes,
                    bool followLinks) {
    // O_NOCTTY: a terminal in the file's place must not become ours.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW);
    switch (access) {
        case FileAccess::read:
            flags |= O_RDONLY;
            break;
        case FileAccess::readWrite:
            flags |= O_RDWR;
            break;
        case FileAccess::append:
            // Readable too: an appender looks at the last byte it follows.
            flags |= O_RDWR | O_APPEND | O_CREAT;
            break;
    }
    FileDescriptor fd(::open(path.c_str(), flags, 0600));
    if (fd.get() < 0) {
        const int code = errno;
        if (code == ENOENT && access != FileAccess::append)
            return refused(Refusal::missing);
        // A FIFO nobody reads (ENXIO), a folder opened to write (EISDIR), a
        // link not followed (ELOOP): what is there is not a file.
        struct stat info {};
        const int looked = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
        if (looked == 0 && !S_ISREG(info.st_mode))
            return refused(Refusal::unfit, "not a regular file: " + path.string());
        return refused(Refusal::failed, errnoError("cannot open", path, code).message);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return refused(Refusal::failed, errnoError("cannot inspect", path, errno).message);
    if (!S_ISREG(info.st_mode))
        return refused(Refusal::unfit, "not a regular file: " + path.string());
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > maxBytes)
        return refused(Refusal::unfit,
                       path.string() + " is larger than " + std::to_string(maxBytes) + " bytes");
    Attempt opened;
    opened.file = {std::move(fd), size};
    return opened;
}

Result<std::optional<OpenedFile>> outcome(Attempt attempt) {
    switch (attempt.refusal) {
        case Refusal::none:
            return std::optional<OpenedFile>(std::move(attempt.file));
        case Refusal::missing:
            return std::optional<OpenedFile>();
        default:
            return Error{std::move(attempt.problem)};
    }
}

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

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

int FileDescriptor::release() {
    return std::exchange(fd_, -1);
}

Result<std::optional<OpenedFile>> openRegularFile(const fs::path& path, FileAccess access,
                                                  std::size_t maxBytes) {
    return outcome(attemptOpen(path, access, maxBytes, /*followLinks=*/true));
}

Result<std::optional<OpenedFile>> openOwnFile(const fs::path& path, FileAccess access,
                                              std::size_t maxBytes, Log& log,
                                              std::string_view source) {
    auto attempt = attemptOpen(path, access, maxBytes, /*followLinks=*/false);
    if (attempt.refusal != Refusal::unfit)
        return outcome(std::move(attempt));
    auto aside = moveAside(path);
    if (!aside)
        return Error{attempt.problem + ", and it cannot be moved aside: " + aside.error().message};
    const bool fresh = access == FileAccess::append;
    log.error(source, attempt.problem + "; kept it as " + aside.value().string() +
                          (fresh ? " and started a new one" : " and started afresh"));
    if (!fresh)
        return std::optional<OpenedFile>();
    return outcome(attemptOpen(path, access, maxBytes, /*followLinks=*/false));
}

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
    auto opened = openRegularFile(path, FileAccess::read, maxBytes);
    if (!opened)
        return opened.error();
    if (!opened.value())
        return std::optional<std::string>{};
    const FileDescriptor fd = std::move(opened.value()->descriptor);

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

fs::file_time_type processStartTime() {
    std::error_code error;
    const auto started = fs::last_write_time("/proc/self", error);
    return error ? fs::file_time_type::clock::now() : started;
}

void removeStaleTemporariesOf(const fs::path& path, fs::file_time_type before) {
    std::error_code error;
    const std::string prefix = "." + path.filename().string() + ".";
    for (const auto& entry : fs::directory_iterator(path.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
            entry.symlink_status(ignored).type() == fs::file_type::regular &&
            entry.last_write_time(ignored) < before)
            fs::remove(entry.path(), ignored);
    }
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

std::optional<std::filesystem::path> findExecutable(const std::string& program,
                                                    const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const auto end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string folder = searchPath.substr(start, end - start);
        if (!folder.empty() && folder.front() == '/') {
            auto candidate = std::filesystem::path(folder) / program;
            std::error_code error;
            if (std::filesystem::is_regular_file(candidate, error) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace quorvane::platform::posix
