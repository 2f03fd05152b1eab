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
      store_(userDefaults_, persistor_),
      sound_(log_),
      intentDonations_(log_),
      catalogue_(factory_, store_, log_, scripts_),
      tweaksHandler_(catalogue_),
      soundPlayer_(store_, sound_),
      tweakActions_(mainQueue_, notifications_, soundPlayer_, intentDonations_) {}

void AppServices::start() {
    mainQueue_.after(applyPersistedTogglesDelay,
                     [this] { tweaksHandler_.applyPersistedToggles(); });
}

void AppServices::terminate() {
    tweaksHandler_.resetOnTerminate();
    persistor_.saveAll();
}

}  // namespace quorvane::app
