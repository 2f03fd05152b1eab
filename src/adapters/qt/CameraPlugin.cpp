// The entry point of the camera module (see CameraModule).
#include "adapters/qt/CameraModule.hpp"
#include "adapters/qt/QtCameras.hpp"

extern "C" Q_DECL_EXPORT quorvane::platform::Cameras* quorvane_make_cameras(quorvane::platform::Log* log) {
    return new quorvane::platform::qt::QtCameras(*log);
}
