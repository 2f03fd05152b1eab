#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/memory/MemoryLog.hpp"
#include "platform/qt/QtSound.hpp"

namespace quorvane::platform::qt {
namespace {

TEST(QtSound, playsTheBuiltInClicksAndKnowsWhatItDoesNotHave) {
    int argc = 1;
    char name[] = "qt-sound";
    char* argv[] = {name};
    QCoreApplication application(argc, argv);
    memory::MemoryLog log;
    QtSound sound(log);
    EXPECT_TRUE(sound.play("toggleOn"));
    EXPECT_TRUE(sound.play("toggleOff"));
    EXPECT_FALSE(sound.play("keyDown"));
    EXPECT_FALSE(sound.play("../toggleOn"));
}

}  // namespace
}  // namespace quorvane::platform::qt
