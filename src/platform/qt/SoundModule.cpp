#include "platform/qt/SoundModule.hpp"

#include <QCoreApplication>

namespace quorvane::platform::qt {

SoundModule::SoundModule(Log& log, QString path) : log_(log) {
    library_.setFileName(
        path.isEmpty() ? QCoreApplication::applicationDirPath() + "/libquorvane_sound.so" : path);
}

SoundModule::~SoundModule() {
    // The player's code lives in the module: it goes first. The module
    // stays loaded, as the audio libraries may still hold threads.
    sound_.reset();
}

Sound* SoundModule::loaded() {
    if (tried_)
        return sound_.get();
    tried_ = true;
    using Factory = Sound* (*)(Log*);
    auto factory = reinterpret_cast<Factory>(library_.resolve(factoryName));
    if (!factory) {
        log_.warning("Sound",
                     "cannot load the sound module: " + library_.errorString().toStdString());
        return nullptr;
    }
    sound_.reset(factory(&log_));
    return sound_.get();
}

bool SoundModule::play(std::string_view resourceName) {
    auto* sound = loaded();
    return sound && sound->play(resourceName);
}

}  // namespace quorvane::platform::qt
