// quorvane-camera: the cameras, in a process of their own so that Qt
// Multimedia, GStreamer and GL leave with it instead of staying in the
// program for good. The program starts it on the first question about a
// camera; it serves the records on its standard input (see CameraServer)
// and leaves when that closes, or 20 s after the last session stopped.
#include <QGuiApplication>
#include <QMetaObject>

#include "adapters/posix/CameraServer.hpp"
#include "adapters/posix/StderrLog.hpp"
#include "adapters/qt/QtCameras.hpp"
#include "helpers/ServeProgram.hpp"

int main(int argc, char** argv) {
    using namespace quorvane;
    const int socket = helpers::takeProgramSocket();
    if (socket < 0)
        return 1;
    // Frames are made pictures here, never shown: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    platform::posix::StderrLog log(platform::LogLevel::warning);
    platform::qt::QtCameras cameras(log);
    platform::posix::CameraServer server(cameras, socket, [&](std::function<void()> work) {
        QMetaObject::invokeMethod(&application, std::move(work), Qt::QueuedConnection);
    });
    helpers::serveProgram(application, server, socket, std::chrono::seconds(20));
}
