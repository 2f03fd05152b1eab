#include "app/AppServices.hpp"

#include "core/AppIdentity.hpp"

namespace quorvane::app {

namespace {

std::unique_ptr<platform::posix::FileBlobStore> openRecords(const std::filesystem::path& folder,
                                                            platform::Log& log) {
    auto opened = platform::posix::FileBlobStore::open(folder);
    if (opened)
        return std::move(opened.value());
    log.error("AppServices", "cannot open the records folder: " + opened.error().message);
    return nullptr;
}

}  // namespace

AppPaths AppPaths::from(const platform::posix::XdgDirectories& directories) {
    AppPaths paths;
    paths.applicationSupport = directories.dataHome / core::bundleIdentifier;
    paths.records = paths.applicationSupport / core::recordsFolderName;
    paths.userDefaults = directories.configHome / core::bundleIdentifier / "UserDefaults.json";
    return paths;
}

AppServices::AppServices(const platform::posix::XdgDirectories& directories)
    : paths_(AppPaths::from(directories)),
      userDefaults_(paths_.userDefaults, log_),
      records_(openRecords(paths_.records, log_)),
      persistor_(records_.get(), mainQueue_, log_),
      store_(userDefaults_, persistor_) {}

void AppServices::terminate() {
    // Tweaks that must be undone at exit are reset here once the catalogue
    // exists; until then there are none.
    persistor_.saveAll();
}

}  // namespace quorvane::app
