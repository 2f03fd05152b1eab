#include "adapters/posix/CameraServer.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <mutex>

namespace quorvane::platform::posix {

namespace {

// The memory a session's frames go out in. The camera may deliver on a
// thread of its own, even while the session is being torn down: the ring
// lives as long as its handler, and once closed takes no more frames.
struct FrameRing {
    static constexpr std::size_t slots = CameraServer::slots;
    long long id = 0;
    int socket = -1;
    std::mutex mutex;  // what follows
    bool closed = false;
    int memory = -1;
    std::uint32_t* base = nullptr;
    std::size_t slotBytes = 0;
    long long buffer = 0;  // counts the memories handed out
    std::array<bool, slots> lent{};

    ~FrameRing() { unmap(); }
    void close() {
        std::lock_guard lock(mutex);
        closed = true;
        unmap();
    }
    void unmap() {
        if (base)
            ::munmap(base, slotBytes * slots);
        if (memory >= 0)
            ::close(memory);
        base = nullptr;
        memory = -1;
    }
    // Memory for frames of `bytes`, handed to the program with its descriptor.
    bool remap(std::size_t bytes) {
        unmap();
        memory = ::memfd_create("quorvane-camera-frames", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        // Sealed at its size: the program reads it without fearing a bus error.
        if (memory < 0 || ::ftruncate(memory, static_cast<off_t>(bytes * slots)) != 0 ||
            ::fcntl(memory, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0) {
            unmap();
            return false;
        }
        void* mapped = ::mmap(nullptr, bytes * slots, PROT_READ | PROT_WRITE, MAP_SHARED, memory, 0);
        if (mapped == MAP_FAILED) {
            unmap();
            return false;
        }
        base = static_cast<std::uint32_t*>(mapped);
        slotBytes = bytes;
        ++buffer;
        lent = {};
        if (!sendRecord(socket,
                        recordBytes({"buffer", std::to_string(id), std::to_string(buffer),
                                     std::to_string(bytes), std::to_string(slots)}),
                        memory, false)) {
            unmap();
            return false;
        }
        return true;
    }
    void deliver(const VideoFrame& frame) {
        if (frame.isEmpty() || frame.stride < frame.width)
            return;
        const auto width = static_cast<std::size_t>(frame.width);
        const auto height = static_cast<std::size_t>(frame.height);
        const std::size_t bytes = width * height * sizeof(std::uint32_t);
        if (bytes > (std::size_t(256) << 20))
            return;
        std::lock_guard lock(mutex);
        if (closed || ((!base || bytes != slotBytes) && !remap(bytes)))
            return;
        std::size_t slot = 0;
        while (slot < slots && lent[slot])
            ++slot;
        if (slot == slots)
            return;  // all three still shown or on their way: this one is missed
        std::uint32_t* into = base + slot * (slotBytes / sizeof(std::uint32_t));
        for (std::size_t row = 0; row < height; ++row)
            std::memcpy(into + row * width, frame.pixels + row * static_cast<std::size_t>(frame.stride),
                        width * sizeof(std::uint32_t));
        lent[slot] = sendRecord(socket,
                                recordBytes({"frame", std::to_string(id), std::to_string(buffer),
                                             std::to_string(slot), std::to_string(frame.width),
                                             std::to_string(frame.height)}),
                                -1, false);
    }
    void giveBack(long long fromBuffer, long long slot) {
        std::lock_guard lock(mutex);
        if (fromBuffer == buffer && slot >= 0 && slot < static_cast<long long>(slots))
            lent[static_cast<std::size_t>(slot)] = false;
    }
};

}  // namespace

// One session and its ring.
struct CameraServer::Served {
    std::shared_ptr<FrameRing> ring = std::make_shared<FrameRing>();
    std::unique_ptr<CameraSession> session;

    ~Served() {
        // A frame being copied finishes first; none is taken after.
        ring->close();
        session.reset();
    }
};

CameraServer::CameraServer(Cameras& cameras, int socket, std::function<void(std::function<void()>)> toMain)
    : cameras_(cameras), socket_(socket), toMain_(std::move(toMain)) {}

CameraServer::~CameraServer() {
    *alive_ = false;
    sessions_.clear();
}

bool CameraServer::idle() const {
    for (const auto& [id, served] : sessions_)
        if (served->session->isRunning())
            return false;
    return true;
}

void CameraServer::answer(std::vector<std::string> fields) {
    fields.insert(fields.begin(), "=");
    sendRecord(socket_, fields);
}

std::vector<std::string> CameraServer::state(bool ok, const std::string& message, const Served* served) const {
    const CameraSession* session = served ? served->session.get() : nullptr;
    const auto format = session ? session->format() : std::nullopt;
    return {ok ? "1" : "0",
            message,
            session ? session->device().value_or("") : "",
            std::to_string(static_cast<int>(session ? session->preset() : CameraPreset::low)),
            std::to_string(format ? format->width : 0),
            std::to_string(format ? format->height : 0),
            session && session->isRunning() ? "1" : "0",
            session && session->supportsMirroring() ? "1" : "0",
            session && session->supportsOrientation() ? "1" : "0"};
}

bool CameraServer::serve(HelperRecord& record) {
    const auto kind = record.kind();
    if (record.descriptor >= 0)
        ::close(record.descriptor);
    if (kind == "devices") {
        std::vector<std::string> fields;
        for (const auto& device : cameras_.devices()) {
            fields.push_back(device.id);
            fields.push_back(device.localizedName);
        }
        answer(std::move(fields));
        return true;
    }
    if (kind == "default") {
        const auto device = cameras_.defaultDevice();
        answer(device ? std::vector<std::string>{device->id, device->localizedName}
                      : std::vector<std::string>{});
        return true;
    }
    if (kind == "authorization") {
        answer({std::to_string(static_cast<int>(cameras_.authorization()))});
        return true;
    }
    if (kind == "access") {
        // The answer may come later, on any thread; one record is sent whole.
        cameras_.requestAccess([socket = socket_](bool granted) {
            sendRecord(socket, std::vector<std::string>{"=", granted ? "1" : "0"});
        });
        return true;
    }
    const auto id = numberIn(record.field(1));
    if (!id)
        return false;
    const auto found = sessions_.find(*id);
    Served* served = found == sessions_.end() ? nullptr : found->second.get();
    if (kind == "session") {
        if (!served) {
            auto made = std::make_unique<Served>();
            made->ring->id = *id;
            made->ring->socket = socket_;
            made->session = cameras_.makeSession(
                [ring = made->ring](VideoFrame frame) { ring->deliver(frame); },
                [this, alive = std::weak_ptr<bool>(alive_), id = *id](std::string reason) {
                    toMain_([this, alive, id, reason = std::move(reason)] {
                        if (!alive.lock())
                            return;
                        const auto still = sessions_.find(id);
                        if (still == sessions_.end())
                            return;
                        auto fields = state(true, "", still->second.get());
                        fields.insert(fields.begin(), {"failed", std::to_string(id), reason});
                        sendRecord(socket_, fields);
                    });
                });
            if (!made->session) {
                answer(state(false, "no camera session can be made", nullptr));
                return true;
            }
            served = made.get();
            sessions_.emplace(*id, std::move(made));
        }
        answer(state(true, "", served));
        return true;
    }
    if (kind == "end") {
        if (served)
            sessions_.erase(found);
        return true;
    }
    if (kind == "release") {
        const auto buffer = numberIn(record.field(2));
        const auto slot = numberIn(record.field(3));
        if (served && buffer && slot)
            served->ring->giveBack(*buffer, *slot);
        return true;
    }
    if (kind != "device" && kind != "preset" && kind != "start" && kind != "stop")
        return false;
    if (!served) {
        answer(state(false, "no such session", nullptr));
        return true;
    }
    auto& session = *served->session;
    if (kind == "device") {
        const auto set = session.setDevice(std::string(record.field(2)));
        answer(state(bool(set), set ? "" : set.error().message, served));
    } else if (kind == "preset") {
        const auto preset = numberIn(record.field(2));
        const bool known = preset && *preset >= 0 && *preset <= static_cast<int>(CameraPreset::low);
        answer(state(known && session.setPreset(static_cast<CameraPreset>(*preset)), "", served));
    } else if (kind == "start") {
        session.start();
        answer(state(true, "", served));
    } else {
        session.stop();
        answer(state(true, "", served));
    }
    return true;
}

}  // namespace quorvane::platform::posix
