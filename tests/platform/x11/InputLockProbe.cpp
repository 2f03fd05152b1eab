// Holds an input lock until it is killed: the X server must end the lock
// with the process however it ends.
#include <QGuiApplication>
#include <iostream>

#include "platform/memory/MemoryLog.hpp"
#include "platform/qt/QtMainQueue.hpp"
#include "platform/qt/QtScreens.hpp"
#include "platform/x11/XcbInput.hpp"

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    quorvane::platform::memory::MemoryLog log;
    quorvane::platform::qt::QtMainQueue queue;
    auto input = quorvane::platform::x11::XcbInput::connect(
        queue, log, {.primaryRootFrame = &quorvane::platform::qt::QtScreens::primaryRootFrame});
    if (!input || !input->swallowAll({}, {})) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    std::cout << "locked" << std::endl;
    return QGuiApplication::exec();
}
