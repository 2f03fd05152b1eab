#pragma once

#include <thread>

namespace quorvane::platform::qt {

// Reads the system's font list on a second thread while the main thread
// does work that draws no text (opening records, building the catalogue).
// The first text the main thread lays out needs that list; building it is
// most of the cost of a first window. Qt guards the list with a lock, so a
// main thread that gets there first simply waits for it.
//
// Make it after the application object and before the first widget; it is
// joined when it goes, which must be before the application object goes.
class FontListWarmUp {
  public:
    FontListWarmUp();
    ~FontListWarmUp();

    FontListWarmUp(const FontListWarmUp&) = delete;
    FontListWarmUp& operator=(const FontListWarmUp&) = delete;

  private:
    std::thread reader_;
};

}  // namespace quorvane::platform::qt
