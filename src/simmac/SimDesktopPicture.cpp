#include "simmac/SimDesktopPicture.hpp"

#include "adapters/posix/FileOps.hpp"

namespace quorvane::platform::sim {

namespace {

constexpr std::size_t maxPathBytes = 4096;

}  // namespace

SimDesktopPicture::SimDesktopPicture(Journal& journal, std::filesystem::path folder,
                                     std::function<std::string()> defaultPicture)
    : journal_(journal), folder_(std::move(folder)), defaultPicture_(std::move(defaultPicture)) {}

Result<std::string> SimDesktopPicture::pictureOf(const std::string&) {
    auto stored = posix::readFile(folder_ / "desktop-picture", maxPathBytes);
    if (!stored)
        return stored.error();
    if (stored.value() && !stored.value()->empty())
        return *stored.value();
    // The first time: the picture the Mac comes with.
    const auto picture = folder_ / "Library" / "Desktop Pictures" / "Default.png";
    std::error_code missing;
    if (!std::filesystem::exists(picture, missing)) {
        if (!defaultPicture_)
            return Error{"the simulated Mac has no desktop picture"};
        if (auto made = posix::makePrivateDirectory(picture.parent_path()); !made)
            return made.error();
        if (auto written = posix::writeFileAtomically(picture, defaultPicture_()); !written)
            return written.error();
    }
    if (auto written = posix::writeFileAtomically(folder_ / "desktop-picture", picture.string());
        !written)
        return written.error();
    return picture.string();
}

Status SimDesktopPicture::setPicture(const std::string& screen, const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return Error{"no picture at " + path};
    if (auto made = posix::makePrivateDirectory(folder_); !made)
        return made.error();
    if (auto written = posix::writeFileAtomically(folder_ / "desktop-picture", path); !written)
        return written;
    journal_.record("SimulatedMac", "desktop picture", screen + ": " + path);
    return success();
}

}  // namespace quorvane::platform::sim
