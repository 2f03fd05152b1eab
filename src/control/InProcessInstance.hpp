#pragma once

#include <QGuiApplication>
#include <cstdlib>
#include <optional>
#include <string>

namespace quorvane::app {

// The Qt application of a command that shows nothing: it needs no display,
// even when there is one.
class HeadlessApplication {
  public:
    HeadlessApplication() : application_((offscreen(), argc_), argv_) {}

  private:
    static void offscreen() { ::setenv("QT_QPA_PLATFORM", "offscreen", 1); }

    int argc_ = 1;
    char name_[9] = "quorvane";
    char* argv_[2] = {name_, nullptr};
    QGuiApplication application_;
};

// Handles one control request in this process, as the running instance
// would: it takes the instance lock (so nothing else writes the records
// meanwhile), loads the records, handles the request, waits until the
// tweak's background work has finished, then saves and lets go. Nothing
// when another instance holds the lock: ask that one instead.
std::optional<std::string> handleInProcess(const std::string& request);

}  // namespace quorvane::app
