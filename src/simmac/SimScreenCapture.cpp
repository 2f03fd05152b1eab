#include "simmac/SimScreenCapture.hpp"

#include "platform/Quoting.hpp"
#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::sim {

SimScreenCapture::SimScreenCapture(ShellRunner& shell, std::filesystem::path tool,
                                   std::filesystem::path folder, MainQueue& mainQueue)
    : shell_(shell), tool_(std::move(tool)), folder_(std::move(folder)), mainQueue_(mainQueue) {}

SimScreenCapture::~SimScreenCapture() {
    if (running_.joinable())
        running_.join();
}

void SimScreenCapture::captureRegion(Done done) {
    if (busy_) {
        done(std::nullopt);
        return;
    }
    if (running_.joinable())
        running_.join();
    busy_ = true;
    running_ = std::thread([this, done = std::move(done)]() mutable {
        const auto path = folder_ / fileName;
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        std::optional<std::string> image;
        if (posix::makePrivateDirectory(folder_)) {
            // A cancelled selection exits non-zero and writes nothing.
            (void)shell_.run(shellQuote(tool_.string()) + " -i " + shellQuote(path.string()));
            if (auto bytes = posix::readFile(path, 64u << 20); bytes && bytes.value())
                image = std::move(*bytes.value());
            std::filesystem::remove(path, ignored);
        }
        mainQueue_.post([this, done = std::move(done), image = std::move(image)]() mutable {
            busy_ = false;
            done(std::move(image));
        });
    });
}

}  // namespace quorvane::platform::sim
