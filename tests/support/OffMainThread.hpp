#pragma once

#include <QCoreApplication>
#include <chrono>
#include <future>

namespace quorvane::testing {

// Runs `call` on a thread of its own, as an adapter that blocks is called
// from a worker, while this thread's event loop serves the fakes it calls.
template <class Call>
auto offMainThread(Call call) {
    auto answer = std::async(std::launch::async, call);
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

}  // namespace quorvane::testing
