// The entry point of the sound module (see SoundModule).
#include "adapters/qt/QtSound.hpp"
#include "adapters/qt/SoundModule.hpp"

extern "C" Q_DECL_EXPORT quorvane::platform::Sound* quorvane_make_sound(
    quorvane::platform::Log* log) {
    return new quorvane::platform::qt::QtSound(*log);
}
