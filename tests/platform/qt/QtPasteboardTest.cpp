#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/qt/QtPasteboard.hpp"

namespace quorvane::platform::qt {
namespace {

TEST(QtPasteboard, setsReadsAndClearsTheClipboard) {
    int argc = 1;
    char name[] = "qt-pasteboard";
    char* argv[] = {name};
    QGuiApplication application(argc, argv);
    QtPasteboard pasteboard;
    pasteboard.setString("héllo");
    EXPECT_EQ(pasteboard.string(), "héllo");
    pasteboard.clearContents();
    EXPECT_FALSE(pasteboard.string().has_value() && !pasteboard.string()->empty());
}

}  // namespace
}  // namespace quorvane::platform::qt
