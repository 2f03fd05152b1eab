#include "adapters/posix/HelperRecords.hpp"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

namespace quorvane::platform::posix {

std::string recordBytes(const std::vector<std::string>& fields) {
    std::string bytes;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            bytes.push_back('\0');
        bytes += fields[i];
    }
    return bytes;
}

bool sendRecord(int socket, std::string_view bytes, int descriptor, bool wait) {
    if (socket < 0 || bytes.empty() || bytes.size() > largestRecord)
        return false;
    iovec part{const_cast<char*>(bytes.data()), bytes.size()};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    if (descriptor >= 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof(control);
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = SOL_SOCKET;
        header->cmsg_type = SCM_RIGHTS;
        header->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(header), &descriptor, sizeof(int));
    }
    int patience = wait ? 2000 : 0;
    for (;;) {
        const auto sent = ::sendmsg(socket, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            return static_cast<std::size_t>(sent) == bytes.size();
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || patience <= 0)
            return false;
        pollfd room{socket, POLLOUT, 0};
        const int polled = ::poll(&room, 1, 100);
        patience -= 100;
        if (polled < 0 && errno != EINTR)
            return false;
    }
}

bool sendRecord(int socket, const std::vector<std::string>& fields, int descriptor) {
    return sendRecord(socket, recordBytes(fields), descriptor, true);
}

std::optional<HelperRecord> receiveRecord(int socket) {
    std::string bytes(largestRecord, '\0');
    iovec part{bytes.data(), bytes.size()};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * 4)] = {};
    message.msg_control = control;
    message.msg_controllen = sizeof(control);
    ssize_t got = -1;
    do
        got = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    while (got < 0 && errno == EINTR);
    if (got <= 0)
        return std::nullopt;
    HelperRecord record;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
            continue;
        const std::size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (std::size_t i = 0; i < count; ++i) {
            int descriptor = -1;
            std::memcpy(&descriptor, CMSG_DATA(header) + i * sizeof(int), sizeof(int));
            if (record.descriptor < 0)
                record.descriptor = descriptor;
            else
                ::close(descriptor);
        }
    }
    // A record cut short (larger than any we send) is no record.
    if (message.msg_flags & MSG_TRUNC) {
        if (record.descriptor >= 0)
            ::close(record.descriptor);
        record.descriptor = -1;
        record.fields = {std::string()};
        return record;
    }
    bytes.resize(static_cast<std::size_t>(got));
    std::size_t start = 0;
    for (;;) {
        const auto end = bytes.find('\0', start);
        record.fields.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return record;
}

std::optional<long long> numberIn(std::string_view field) {
    long long value = 0;
    const auto* end = field.data() + field.size();
    const auto parsed = std::from_chars(field.data(), end, value);
    if (field.empty() || parsed.ec != std::errc() || parsed.ptr != end)
        return std::nullopt;
    return value;
}

}  // namespace quorvane::platform::posix
