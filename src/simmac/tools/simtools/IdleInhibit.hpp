#pragma once

#include <QDBusConnection>

// What keeps a desktop session awake while the stand-in caffeinate runs,
// when QUORVANE_IDLE_INHIBIT=1 says the session is a real one: the
// screen saver's inhibitor for -d (org.freedesktop.ScreenSaver on the
// session bus) and logind's "idle:sleep" block for -i (a file descriptor
// held open). Either may be missing; what was taken is given back when
// this goes.
class IdleInhibit {
  public:
    IdleInhibit(bool display, bool system);
    ~IdleInhibit();
    IdleInhibit(const IdleInhibit&) = delete;
    IdleInhibit& operator=(const IdleInhibit&) = delete;

  private:
    unsigned screenSaverCookie_ = 0;
    bool holdsScreenSaver_ = false;
    int sleepBlock_ = -1;
};
