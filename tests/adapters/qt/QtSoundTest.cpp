#include <gtest/gtest.h>

#include <QCoreApplication>

#include "adapters/memory/MemoryLog.hpp"
#include "adapters/qt/QtSound.hpp"

namespace quorvane::platform::qt {
namespace {

// Playing needs an audio device, which test machines lack (and the audio
// back ends can hang tearing down without one); what can be checked is that
// the clicks are built in and nothing else is played.
TEST(QtSound, knowsItsBuiltInClicksAndNothingElse) {
    int argc = 1;
    char name[] = "qt-sound";
    char* argv[] = {name};
    QCoreApplication application(argc, argv);
    EXPECT_EQ(QtSound::resourcePath("toggleOn"), ":/sounds/toggleOn.wav");
    EXPECT_EQ(QtSound::resourcePath("toggleOff"), ":/sounds/toggleOff.wav");
    EXPECT_EQ(QtSound::resourcePath("keyDown"), ":/sounds/keyDown.wav");
    EXPECT_FALSE(QtSound::resourcePath("keyUp"));
    EXPECT_FALSE(QtSound::resourcePath("../sounds/toggleOn"));
    memory::MemoryLog log;
    EXPECT_FALSE(QtSound(log).play("keyUp"));

}

}  // namespace
}  // namespace quorvane::platform::qt
