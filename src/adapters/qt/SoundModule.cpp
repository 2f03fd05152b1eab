#include "adapters/qt/SoundModule.hpp"

#include <QCoreApplication>

namespace quorvane::platform::qt {

SoundModule::SoundModule(Log& log, QString path)
    : module_(log, "Sound", "sound module",
              path.isEmpty() ? QCoreApplication::applicationDirPath() + "/libquorvane_sound.so" : path,
              factoryName) {}

bool SoundModule::play(std::string_view resourceName) {
    auto* sound = module_.get();
    return sound && sound->play(resourceName);
}

bool SoundModule::prepareClicks(std::string_view resourceName) {
    auto* sound = module_.get();
    return sound && sound->prepareClicks(resourceName);
}

bool SoundModule::play(std::string_view resourceName, Variation variation) {
    auto* sound = module_.peek();
    return sound && sound->play(resourceName, variation);
}

}  // namespace quorvane::platform::qt
