#include "platform/Cameras.hpp"

#include <cstdlib>
#include <limits>

namespace quorvane::platform {

const char* describe(CameraAuthorization authorization) {
    switch (authorization) {
        case CameraAuthorization::notDetermined:
            return "notDetermined";
        case CameraAuthorization::restricted:
            return "restricted";
        case CameraAuthorization::denied:
            return "denied";
        case CameraAuthorization::authorized:
            return "authorized";
    }
    return "notDetermined";
}

const char* describe(CameraPreset preset) {
    switch (preset) {
        case CameraPreset::photo:
            return "Photo";
        case CameraPreset::high:
            return "High";
        case CameraPreset::medium:
            return "Medium";
        case CameraPreset::low:
            return "Low";
    }
    return "Low";
}

namespace {

long long area(const CameraFormat& format) {
    return static_cast<long long>(format.width) * format.height;
}

std::optional<CameraFormat> nearest(std::span<const CameraFormat> formats, CameraFormat wanted) {
    std::optional<CameraFormat> best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const auto& format : formats) {
        // By how far the sides are off; a tie goes to the larger picture.
        const long long distance = std::llabs(static_cast<long long>(format.width) - wanted.width) +
                                   std::llabs(static_cast<long long>(format.height) - wanted.height);
        if (distance < bestDistance || (distance == bestDistance && best && area(format) > area(*best))) {
            best = format;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

std::optional<CameraFormat> formatFor(CameraPreset preset, std::span<const CameraFormat> formats) {
    std::optional<CameraFormat> chosen;
    switch (preset) {
        case CameraPreset::photo:
            for (const auto& format : formats)
                if (!chosen || area(format) > area(*chosen))
                    chosen = format;
            return chosen;
        case CameraPreset::high:
            return nearest(formats, {1280, 720});
        case CameraPreset::medium:
            return nearest(formats, {640, 480});
        case CameraPreset::low:
            for (const auto& format : formats)
                if (format.width >= 320 && (!chosen || area(format) < area(*chosen)))
                    chosen = format;
            return chosen;
    }
    return chosen;
}

}  // namespace quorvane::platform
