// The camera helper, serving the simulated Mac's cameras (a test pattern
// at 15 frames a second) instead of the real ones: what the program's side
// does with frames, slots and a helper that leaves can be tested on a
// machine without a camera.
#include <QCoreApplication>
#include <QMetaObject>

#include "adapters/memory/MemoryJournal.hpp"
#include "adapters/posix/CameraServer.hpp"
#include "adapters/qt/QtMainQueue.hpp"
#include "helpers/ServeProgram.hpp"
#include "simmac/SimCameras.hpp"

int main(int argc, char** argv) {
    using namespace quorvane;
    const int socket = helpers::takeProgramSocket();
    if (socket < 0)
        return 1;
    QCoreApplication application(argc, argv);
    platform::qt::QtMainQueue mainQueue;
    platform::memory::MemoryJournal journal;
    platform::sim::SimCameras cameras(mainQueue, journal);
    platform::posix::CameraServer server(cameras, socket, [&](std::function<void()> work) {
        QMetaObject::invokeMethod(&application, std::move(work), Qt::QueuedConnection);
    });
    helpers::serveProgram(application, server, socket, std::chrono::seconds(20));
}
