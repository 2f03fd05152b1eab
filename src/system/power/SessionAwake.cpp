#include "system/power/SessionAwake.hpp"

namespace quorvane::system {

SessionAwake::SessionAwake(std::vector<Holder> display, Holder sleep)
    : display_(std::move(display)), sleep_(std::move(sleep)) {}

platform::Result<SessionAwake::Held> SessionAwake::hold(const std::string& why) {
    Held held;
    std::string refusals;
    for (const Holder& holder : display_) {
        auto* source = holder.source ? holder.source() : nullptr;
        if (!source)
            continue;
        auto taken = source->hold(why);
        if (taken) {
            held.holds.push_back(std::move(taken.value()));
            held.description = "the screen saver by " + holder.name;
            break;
        }
        refusals += (refusals.empty() ? "" : "; ") + taken.error().message;
    }
    if (held.holds.empty())
        return platform::Error{"nothing here can hold the screen saver off" +
                               (refusals.empty() ? std::string() : ": " + refusals)};
    auto* sleep = sleep_.source ? sleep_.source() : nullptr;
    if (!sleep) {
        held.sleepNotBlocked = sleep_.name + " is not in this session";
        return held;
    }
    if (auto blocked = sleep->hold(why)) {
        held.holds.push_back(std::move(blocked.value()));
        held.description += "; idle sleep by " + sleep_.name;
    } else {
        held.sleepNotBlocked = blocked.error().message;
    }
    return held;
}

}  // namespace quorvane::system
