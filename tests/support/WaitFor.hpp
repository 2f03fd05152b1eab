#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace quorvane::testing {

// Runs the event loop until `done` holds or five seconds have passed, and
// answers whether it held: asked once more, a condition the server moves
// on from could read false again. For what travels through another process
// (the X server), not for our own timers, which tests drive with the
// manual clock.
template <class Done>
bool waitFor(Done done) {
    QElapsedTimer elapsed;
    elapsed.start();
    bool held = done();
    while (!held && elapsed.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        held = done();
    }
    return held;
}

}  // namespace quorvane::testing
