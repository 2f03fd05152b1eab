#include "adapters/qt/FontListWarmUp.hpp"

#include <QFontDatabase>
#include <QStringList>
#include <system_error>

namespace quorvane::platform::qt {

// Every QFontDatabase function is thread-safe, and the first one called
// builds the list.
FontListWarmUp::FontListWarmUp() {
    try {
        reader_ = std::thread([] { (void)QFontDatabase::families(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first text laid out builds the list.
    }
}

FontListWarmUp::~FontListWarmUp() {
    if (reader_.joinable())
        reader_.join();
}

}  // namespace quorvane::platform::qt
