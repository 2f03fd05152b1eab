#pragma once

#include <optional>
#include <string>

#include "platform/Cameras.hpp"
#include "platform/MirrorPicture.hpp"

namespace quorvane::display {

// How the camera mirror looks and which camera it shows. Kept in memory
// only: each launch starts from these values.
struct MirrorConfiguration {
    enum class Gravity { fit, fill };
    // The platform's orientation values, 1 to 4.
    enum class Orientation { portrait = 1, portraitUpsideDown, landscapeRight, landscapeLeft };

    static constexpr int minimumSize = 1;
    static constexpr int maximumSize = 6;
    static constexpr double pointsPerSize = 80;

    int size = 3;  // the picture is size × 80 points wide and high
    bool showsBorder = false;
    Gravity gravity = Gravity::fit;
    platform::CameraPreset preset = platform::CameraPreset::low;
    std::optional<platform::CameraDevice> device{};  // none: the default camera
    bool mirrored = false;
    platform::MirrorPicture::Shape shape = platform::MirrorPicture::Shape::circle;
    Orientation orientation = Orientation::portrait;

    double side() const { return size * pointsPerSize; }
    bool operator==(const MirrorConfiguration&) const = default;
};

// Clockwise quarter turns of the picture as delivered: Landscape Right
// turns it 90° clockwise, Landscape Left 90° counter-clockwise.
inline int quarterTurns(MirrorConfiguration::Orientation orientation) {
    switch (orientation) {
        case MirrorConfiguration::Orientation::portrait:
            return 0;
        case MirrorConfiguration::Orientation::portraitUpsideDown:
            return 2;
        case MirrorConfiguration::Orientation::landscapeRight:
            return 1;
        case MirrorConfiguration::Orientation::landscapeLeft:
            return 3;
    }
    return 0;
}

}  // namespace quorvane::display
