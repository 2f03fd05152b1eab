#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorvane::platform {

// Where a system notification is posted on a Mac: the shared workspace's
// notification center (sleep, wake, power off) or the distributed
// notification center (screen saver, screen lock).
enum class NotificationCenter { workspace, distributed };

// Observes the system's notifications by name. Handlers are called on the
// main queue. A token removes its observer; observers that are never
// removed live as long as the adapter.
class SystemEvents {
  public:
    using Handler = std::function<void()>;
    using Token = std::uint64_t;

    virtual ~SystemEvents() = default;
    virtual Token observe(NotificationCenter center, std::string name, Handler handler) = 0;
    virtual void removeObserver(Token token) = 0;
};

}  // namespace quorvane::platform
