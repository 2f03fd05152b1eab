#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Cameras.hpp"
#include "adapters/posix/HelperServer.hpp"

namespace quorvane::platform::posix {

// The cameras of a helper process, served to the program (CameraHelper is
// the other side). Each session's frames are copied into shared memory, a
// ring of three pictures the program maps once: a frame goes out only
// into a slot the program has given back, so a program that falls behind
// misses frames instead of piling them up. Main thread, except frames.
//
//   "devices"                     = id name id name ...
//   "default"                     = [id name]
//   "authorization"               = number (CameraAuthorization)
//   "access"                      = 1|0
//   "session" S                   = state
//   "device" S id | "preset" S n | "start" S | "stop" S   = state
//   "end" S | "release" S buffer slot                      (no answer)
//   state: ok message device preset width height running mirrors turns
//
// and, unasked: "buffer" S number bytes slots (with the memory),
// "frame" S buffer slot width height, "failed" S reason state.
class CameraServer final : public HelperServer {
  public:
    static constexpr int slots = 3;
    // `toMain` runs work on the main thread: a session may report its
    // failure from any.
    CameraServer(Cameras& cameras, int socket, std::function<void(std::function<void()>)> toMain);
    ~CameraServer() override;

    bool serve(HelperRecord& record) override;
    // No session runs.
    bool idle() const override;

  private:
    struct Served;
    void answer(std::vector<std::string> fields);
    std::vector<std::string> state(bool ok, const std::string& message, const Served* served) const;

    Cameras& cameras_;
    int socket_;
    std::function<void(std::function<void()>)> toMain_;
    std::map<long long, std::unique_ptr<Served>> sessions_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace quorvane::platform::posix
