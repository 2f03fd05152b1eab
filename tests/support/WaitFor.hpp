#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace quorvane::testing {

// Runs the event loop until `done` holds or five seconds have passed. For
// what travels through another process (the X server), not for our own
// timers, which tests drive with the manual clock.
template <class Done>
bool waitFor(Done done) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done() && elapsed.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return done();
}

}  // namespace quorvane::testing
