#pragma once

#include <filesystem>
#include <functional>

#include "platform/DesktopPicture.hpp"
#include "platform/Journal.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's desktop picture, one for every screen, named in
// "desktop-picture" in its folder. It starts as a 16:10 picture the
// program carries, written there on first use. Changes are journaled.
class SimDesktopPicture final : public DesktopPicture {
  public:
    // `defaultPicture` gives the bytes of the starting picture (PNG).
    SimDesktopPicture(Journal& journal, std::filesystem::path folder,
                      std::function<std::string()> defaultPicture);

    Result<std::string> pictureOf(const std::string& screen) override;
    Status setPicture(const std::string& screen, const std::string& path) override;

  private:
    Journal& journal_;
    std::filesystem::path folder_;
    std::function<std::string()> defaultPicture_;
};

}  // namespace quorvane::platform::sim
