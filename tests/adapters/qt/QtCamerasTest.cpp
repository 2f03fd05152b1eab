#include <gtest/gtest.h>

#include <QCoreApplication>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/qt/CameraModule.hpp"

namespace quorvane::platform::qt {
namespace {

// Test machines have no camera: what can be checked is that the module
// loads only when a camera is first asked for, finds none, and gives a
// session that cannot start without one.
TEST(QtCameras, theModuleLoadsOnFirstUseAndWithoutACameraNothingRuns) {
    // Qt Multimedia opens the audio server too, which is not under test: a
    // server started on demand leaves threads that the leak checker's
    // tracer cannot stop at exit.
    qputenv("PULSE_SERVER", "unix:/nonexistent/quorvane-test");
    int argc = 1;
    char name[] = "qt-cameras";
    char* argv[] = {name};
    QCoreApplication application(argc, argv);
    memory::MemoryLog log;
    CameraModule module(log, QStringLiteral(QUORVANE_CAMERA_MODULE));
    EXPECT_FALSE(module.isLoaded());
    EXPECT_EQ(module.authorization(), CameraAuthorization::authorized);
    EXPECT_TRUE(module.isLoaded());
    EXPECT_FALSE(log.contains("cannot load"));
    if (!module.devices().empty())
        GTEST_SKIP() << "this machine has a camera";
    EXPECT_FALSE(module.defaultDevice());
    bool granted = false;
    module.requestAccess([&](bool answer) { granted = answer; });
    EXPECT_TRUE(granted);

    int frames = 0;
    auto session = module.makeSession([&](VideoFrame) { ++frames; }, {});
    ASSERT_TRUE(session);
    EXPECT_FALSE(session->setDevice("/dev/video0"));
    EXPECT_FALSE(session->device());
    session->start();
    EXPECT_FALSE(session->isRunning());
    QCoreApplication::processEvents();
    EXPECT_EQ(frames, 0);

    CameraModule missing(log, QStringLiteral("/nonexistent/libquorvane_camera.so"));
    EXPECT_FALSE(missing.makeSession({}, {}));
    EXPECT_TRUE(missing.devices().empty());
    EXPECT_TRUE(log.contains("cannot load the camera module"));
}

}  // namespace
}  // namespace quorvane::platform::qt
