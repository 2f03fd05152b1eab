#pragma once

#include <QLibrary>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Log.hpp"

namespace quorvane::platform::qt {

// An adapter built as a module beside the program and loaded the first
// time it is used, so that its libraries cost nothing to a user who never
// needs them. `factoryName` is the module's extern "C" function that makes
// the adapter from the log. A module that cannot be loaded is logged once
// ("cannot load the <what>: ...") and stays absent. Any thread.
template <class Port>
class LazyModule {
  public:
    LazyModule(Log& log, std::string source, std::string what, QString path, const char* factoryName)
        : log_(log), source_(std::move(source)), what_(std::move(what)), factoryName_(factoryName) {
        library_.setFileName(path);
    }
    ~LazyModule() {
        // The adapter's code lives in the module: it goes first. The module
        // stays loaded, as its libraries may still hold threads.
        adapter_.reset();
    }
    LazyModule(const LazyModule&) = delete;
    LazyModule& operator=(const LazyModule&) = delete;

    Port* get() {
        std::call_once(loaded_, [this] {
            using Factory = Port* (*)(Log*);
            auto factory = reinterpret_cast<Factory>(library_.resolve(factoryName_));
            if (!factory) {
                log_.warning(source_, "cannot load the " + what_ + ": " +
                                          library_.errorString().toStdString());
                return;
            }
            adapter_.reset(factory(&log_));
            ready_ = adapter_.get();
        });
        return adapter_.get();
    }
    // The adapter if it was loaded already; never loads it.
    Port* peek() const { return ready_.load(); }

  private:
    Log& log_;
    std::string source_;
    std::string what_;
    const char* factoryName_;
    QLibrary library_;
    std::once_flag loaded_;
    std::unique_ptr<Port> adapter_;
    std::atomic<Port*> ready_{nullptr};
};

}  // namespace quorvane::platform::qt
