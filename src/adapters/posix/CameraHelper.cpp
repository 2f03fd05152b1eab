#include "adapters/posix/CameraHelper.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "adapters/posix/HelperConnection.hpp"

namespace quorvane::platform::posix {

namespace {

constexpr std::string_view source = "Camera";
constexpr const char* helperLeft = "the camera helper stopped";

// The memory one helper's frames of one size arrive in, mapped once.
struct Mapping {
    long long buffer = 0;
    const std::uint8_t* base = nullptr;
    std::size_t slotBytes = 0;
    std::size_t slots = 0;
    ~Mapping() {
        if (base)
            ::munmap(const_cast<std::uint8_t*>(base), slotBytes * slots);
    }
};

// What a session's answers tell of it.
struct SessionState {
    std::optional<std::string> device;
    CameraPreset preset = CameraPreset::low;
    std::optional<CameraFormat> format;
    bool running = false;
    bool mirrors = false;
    bool turns = false;
};

// A number field within [least, most].
std::optional<long long> within(std::string_view field, long long least, long long most) {
    const auto number = numberIn(field);
    return number && *number >= least && *number <= most ? number : std::nullopt;
}

// Reads "ok message device preset width height running mirrors turns" from `fields` at `at`.
std::optional<std::pair<bool, std::string>> readState(const std::vector<std::string>& fields, std::size_t at,
                                                      SessionState& state) {
    if (fields.size() < at + 9)
        return std::nullopt;
    const auto preset = within(fields[at + 3], 0, static_cast<int>(CameraPreset::low));
    const auto width = within(fields[at + 4], 0, 1 << 16);
    const auto height = within(fields[at + 5], 0, 1 << 16);
    if (!preset || !width || !height)
        return std::nullopt;
    state.device = fields[at + 2].empty() ? std::nullopt : std::optional<std::string>(fields[at + 2]);
    state.preset = static_cast<CameraPreset>(*preset);
    state.format = *width > 0 && *height > 0
                       ? std::optional<CameraFormat>(CameraFormat{int(*width), int(*height)})
                       : std::nullopt;
    state.running = fields[at + 6] == "1";
    state.mirrors = fields[at + 7] == "1";
    state.turns = fields[at + 8] == "1";
    return std::pair{fields[at] == "1", fields[at + 1]};
}

// Memory that holds `size` bytes and can never shrink: reading it cannot
// fault, whatever the helper does afterwards.
bool sealedAtLeast(int descriptor, long long size) {
    struct stat status {};
    const int seals = ::fcntl(descriptor, F_GET_SEALS);
    return ::fstat(descriptor, &status) == 0 && status.st_size >= size && seals >= 0 && (seals & F_SEAL_SHRINK);
}

}  // namespace

// A session as the reading thread and the session object both see it.
struct SessionLink {
    long long id = 0;
    std::mutex mutex;  // what follows
    CameraSession::FrameHandler frames;
    CameraSession::FailureHandler failed;
    std::uint64_t generation = 0;  // of the helper it lives in; 0: none
    SessionState state;
    std::optional<CameraPreset> wanted;  // the last preset set, made again with the session
    std::shared_ptr<Mapping> mapping;
};

struct CameraHelper::Shared : std::enable_shared_from_this<CameraHelper::Shared> {
    std::unique_ptr<HelperConnection> connection;
    std::mutex mutex;  // the links
    std::map<long long, std::shared_ptr<SessionLink>> links;
    long long lastId = 0;

    std::shared_ptr<SessionLink> link(std::string_view field) {
        const auto id = numberIn(field);
        std::lock_guard lock(mutex);
        const auto found = id ? links.find(*id) : links.end();
        return found == links.end() ? nullptr : found->second;
    }

    void event(HelperRecord& record, std::weak_ptr<Shared> self) {
        const int descriptor = std::exchange(record.descriptor, -1);
        const auto link = this->link(record.field(1));
        if (record.kind() == "buffer") {
            const auto buffer = numberIn(record.field(2));
            const auto bytes = within(record.field(3), 1, 256ll << 20);
            const auto slots = within(record.field(4), 1, 8);
            if (link && buffer && bytes && slots && descriptor >= 0 && sealedAtLeast(descriptor, *bytes * *slots)) {
                const auto size = static_cast<std::size_t>(*bytes * *slots);
                void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor, 0);
                if (mapped != MAP_FAILED) {
                    auto mapping = std::make_shared<Mapping>();
                    mapping->buffer = *buffer;
                    mapping->base = static_cast<const std::uint8_t*>(mapped);
                    mapping->slotBytes = static_cast<std::size_t>(*bytes);
                    mapping->slots = static_cast<std::size_t>(*slots);
                    std::lock_guard lock(link->mutex);
                    link->mapping = std::move(mapping);
                }
            }
        } else if (record.kind() == "frame" && link) {
            const auto buffer = numberIn(record.field(2));
            const auto slot = numberIn(record.field(3));
            const auto width = within(record.field(4), 1, 1 << 16);
            const auto height = within(record.field(5), 1, 1 << 16);
            std::unique_lock lock(link->mutex);
            const auto mapping = link->mapping;
            const std::uint64_t generation = link->generation;
            const bool fits = mapping && buffer == mapping->buffer && slot && *slot >= 0 &&
                              static_cast<std::size_t>(*slot) < mapping->slots && width && height &&
                              static_cast<std::size_t>(*width * *height) * 4 <= mapping->slotBytes;
            if (!fits && buffer && slot) {
                // A frame not shown gives its slot back at once, or the helper runs out.
                lock.unlock();
                connection->tell({"release", std::to_string(link->id), std::to_string(*buffer),
                                  std::to_string(*slot)},
                                 generation);
            } else if (fits) {
                // The slot goes back to the helper once the last copy of the frame is gone.
                auto lease = std::shared_ptr<const void>(
                    mapping.get(), [mapping, self, id = link->id, buffer = *buffer, slot = *slot,
                                    generation](const void*) {
                        if (auto shared = self.lock())
                            shared->connection->tell({"release", std::to_string(id), std::to_string(buffer),
                                                      std::to_string(slot)},
                                                     generation);
                    });
                const auto* pixels = reinterpret_cast<const std::uint32_t*>(
                    mapping->base + static_cast<std::size_t>(*slot) * mapping->slotBytes);
                VideoFrame frame{.width = int(*width), .height = int(*height), .stride = int(*width),
                                 .pixels = pixels, .owner = std::move(lease)};
                if (link->frames)
                    link->frames(std::move(frame));
            }
        } else if (record.kind() == "failed" && link) {
            std::lock_guard lock(link->mutex);
            readState(record.fields, 3, link->state);
            if (link->failed)
                link->failed(std::string(record.field(2)));
        }
        if (descriptor >= 0)
            ::close(descriptor);
    }

    // The helper left: its sessions are gone with it.
    void ended(std::uint64_t generation) {
        std::vector<std::shared_ptr<SessionLink>> affected;
        {
            std::lock_guard lock(mutex);
            for (const auto& [id, link] : links)
                affected.push_back(link);
        }
        for (const auto& link : affected) {
            std::lock_guard lock(link->mutex);
            if (link->generation != generation)
                continue;
            const bool wasRunning = link->state.running;
            link->generation = 0;
            link->state.device.reset();
            link->state.format.reset();
            link->state.running = false;
            link->mapping.reset();
            if (wasRunning && link->failed)
                link->failed(helperLeft);
        }
    }
};

namespace {

class HelperSession final : public CameraSession {
  public:
    HelperSession(std::shared_ptr<CameraHelper::Shared> shared, std::shared_ptr<SessionLink> link)
        : shared_(std::move(shared)), link_(std::move(link)) {}
    ~HelperSession() override {
        {
            std::lock_guard lock(link_->mutex);
            link_->frames = nullptr;
            link_->failed = nullptr;
        }
        {
            std::lock_guard lock(shared_->mutex);
            shared_->links.erase(link_->id);
        }
        if (const auto running = generation())
            shared_->connection->tell({"end", std::to_string(link_->id)}, running, true);
    }

    Status setDevice(const std::string& id) override {
        auto answer = ask({"device", id});
        if (!answer)
            return answer.error();
        if (!answer.value().first)
            return Error{answer.value().second};
        return success();
    }
    std::optional<std::string> device() const override { return state().device; }
    bool setPreset(CameraPreset preset) override {
        auto answer = ask({"preset", std::to_string(static_cast<int>(preset))});
        const bool set = answer && answer.value().first;
        if (set) {
            std::lock_guard lock(link_->mutex);
            link_->wanted = preset;
        }
        return set;
    }
    CameraPreset preset() const override { return state().preset; }
    std::optional<CameraFormat> format() const override { return state().format; }
    void start() override { (void)ask({"start"}); }
    void stop() override {
        // A helper gone has nothing running to stop.
        if (generation() != 0)
            (void)ask({"stop"});
    }
    bool isRunning() const override { return state().running; }
    bool supportsMirroring() const override { return state().mirrors; }
    bool supportsOrientation() const override { return state().turns; }

  private:
    std::uint64_t generation() const {
        std::lock_guard lock(link_->mutex);
        return link_->generation;
    }
    SessionState state() const {
        std::lock_guard lock(link_->mutex);
        return link_->state;
    }

    // Makes the session again in the running helper (starting one) when
    // the helper it lived in left, with the preset it was given.
    Status madeAgain() {
        auto& connection = *shared_->connection;
        const std::string id = std::to_string(link_->id);
        if (generation() != 0 && generation() == connection.generation())
            return success();
        auto made = connection.ask({"session", id});
        const auto running = connection.generation();
        std::optional<CameraPreset> wanted;
        {
            std::lock_guard lock(link_->mutex);
            if (!made || made->empty() || made->front() != "1" || !readState(*made, 0, link_->state))
                return Error{"the camera helper cannot be started"};
            link_->generation = running;
            wanted = link_->wanted;
        }
        if (wanted) {
            auto preset = connection.ask({"preset", id, std::to_string(static_cast<int>(*wanted))}, false);
            std::lock_guard lock(link_->mutex);
            if (preset)
                readState(*preset, 0, link_->state);
        }
        return success();
    }

    // Asks about this session; a helper that left before answering (gone
    // idle just then, or crashed) is started again and asked once more.
    Result<std::pair<bool, std::string>> ask(std::vector<std::string> request) {
        request.insert(request.begin() + 1, std::to_string(link_->id));
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (auto made = madeAgain(); !made)
                return made.error();
            auto answer = shared_->connection->ask(request, false);
            std::lock_guard lock(link_->mutex);
            SessionState state = link_->state;
            if (const auto read = answer ? readState(*answer, 0, state) : std::nullopt) {
                link_->state = state;
                return read.value();
            }
        }
        return Error{helperLeft};
    }

    std::shared_ptr<CameraHelper::Shared> shared_;
    std::shared_ptr<SessionLink> link_;
};

}  // namespace

CameraHelper::CameraHelper(Log& log, std::filesystem::path program, std::chrono::milliseconds patience)
    : shared_(std::make_shared<Shared>()) {
    std::weak_ptr<Shared> self = shared_;
    shared_->connection = std::make_unique<HelperConnection>(
        log, std::string(source), "camera helper", std::move(program),
        [self](HelperRecord& record) {
            if (auto shared = self.lock())
                shared->event(record, self);
        },
        [self](std::uint64_t generation) {
            if (auto shared = self.lock())
                shared->ended(generation);
        },
        patience);
}

CameraHelper::~CameraHelper() {
    // The helper ends before what its events reach, for good: a session
    // left over cannot start another.
    shared_->connection->close();
}

std::vector<CameraDevice> CameraHelper::devices() {
    std::vector<CameraDevice> devices;
    const auto answer = shared_->connection->ask({"devices"});
    if (answer)
        for (std::size_t i = 0; i + 1 < answer->size(); i += 2)
            devices.push_back({.id = (*answer)[i], .localizedName = (*answer)[i + 1]});
    return devices;
}

std::optional<CameraDevice> CameraHelper::defaultDevice() {
    const auto answer = shared_->connection->ask({"default"});
    if (!answer || answer->size() < 2)
        return std::nullopt;
    return CameraDevice{.id = (*answer)[0], .localizedName = (*answer)[1]};
}

CameraAuthorization CameraHelper::authorization() {
    const auto answer = shared_->connection->ask({"authorization"});
    const auto value = answer && !answer->empty()
                           ? within(answer->front(), 0, static_cast<int>(CameraAuthorization::authorized))
                           : std::nullopt;
    // A helper that cannot be asked has no cameras to give: nothing to refuse either.
    return value ? static_cast<CameraAuthorization>(*value) : CameraAuthorization::authorized;
}

void CameraHelper::requestAccess(std::function<void(bool granted)> answer) {
    const auto granted = shared_->connection->ask({"access"});
    answer(granted && !granted->empty() && granted->front() == "1");
}

std::unique_ptr<CameraSession> CameraHelper::makeSession(CameraSession::FrameHandler frames,
                                                         CameraSession::FailureHandler failed) {
    auto link = std::make_shared<SessionLink>();
    link->frames = std::move(frames);
    link->failed = std::move(failed);
    {
        std::lock_guard lock(shared_->mutex);
        link->id = ++shared_->lastId;
        shared_->links.emplace(link->id, link);
    }
    auto made = shared_->connection->ask({"session", std::to_string(link->id)});
    if (!made || made->empty() || made->front() != "1") {
        std::lock_guard lock(shared_->mutex);
        shared_->links.erase(link->id);
        return nullptr;
    }
    {
        std::lock_guard lock(link->mutex);
        link->generation = shared_->connection->generation();
        readState(*made, 0, link->state);
    }
    return std::make_unique<HelperSession>(shared_, std::move(link));
}

std::optional<pid_t> CameraHelper::helper() const {
    return shared_->connection->helper();
}

}  // namespace quorvane::platform::posix
