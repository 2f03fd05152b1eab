#pragma once

#include <filesystem>
#include <memory>

#include "core/Persistor.hpp"
#include "core/Store.hpp"
#include "platform/posix/FileBlobStore.hpp"
#include "platform/posix/JsonFileUserDefaults.hpp"
#include "platform/posix/StderrLog.hpp"
#include "platform/posix/XdgDirectories.hpp"
#include "platform/qt/QtMainQueue.hpp"

namespace quorvane::app {

// Where the program keeps its files on this host.
struct AppPaths {
    std::filesystem::path applicationSupport;  // <data home>/com.tarnvell.Quorvane
    std::filesystem::path records;             // .../Default: one JSON blob per record
    std::filesystem::path userDefaults;  // <config home>/com.tarnvell.Quorvane/UserDefaults.json

    static AppPaths from(const platform::posix::XdgDirectories& directories);
};

// The composition root: the one place that picks adapters. Everything it
// builds sees only ports. Construct after the Qt application object, on the
// main thread.
class AppServices {
  public:
    explicit AppServices(const platform::posix::XdgDirectories& directories);
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    const AppPaths& paths() const { return paths_; }
    platform::Log& log() { return log_; }
    platform::MainQueue& mainQueue() { return mainQueue_; }
    core::Persistor& persistor() { return persistor_; }
    core::Store& store() { return store_; }

    // Normal termination: undo what must not outlive the program, then save
    // every record.
    void terminate();

  private:
    AppPaths paths_;
    platform::posix::StderrLog log_;
    platform::posix::JsonFileUserDefaults userDefaults_;
    std::unique_ptr<platform::posix::FileBlobStore> records_;
    platform::qt::QtMainQueue mainQueue_;
    core::Persistor persistor_;
    core::Store store_;
};

}  // namespace quorvane::app
