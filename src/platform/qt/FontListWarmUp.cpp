#include "platform/qt/FontListWarmUp.hpp"

#include <QFontDatabase>
#include <QStringList>

namespace quorvane::platform::qt {

// Every QFontDatabase function is thread-safe, and the first one called
// builds the list.
FontListWarmUp::FontListWarmUp() : reader_([] { (void)QFontDatabase::families(); }) {}

FontListWarmUp::~FontListWarmUp() {
    if (reader_.joinable())
        reader_.join();
}

}  // namespace quorvane::platform::qt
