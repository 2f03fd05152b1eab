#include "adapters/qt/QtSound.hpp"

#include <QFile>
#include <QUrl>
#include <cstdlib>

namespace quorvane::platform::qt {

std::optional<QString> QtSound::resourcePath(std::string_view resourceName) {
    const QString name =
        QString::fromUtf8(resourceName.data(), static_cast<qsizetype>(resourceName.size()));
    if (name.isEmpty() || name.contains('/'))
        return std::nullopt;
    const QString path = QStringLiteral(":/sounds/%1.wav").arg(name);
    if (!QFile::exists(path))
        return std::nullopt;
    return path;
}

bool QtSound::play(std::string_view resourceName) {
    const auto path = resourcePath(resourceName);
    if (!path)
        return false;
    player_ = std::make_unique<QSoundEffect>();
    // Loading finishes later; a file the audio system cannot take shows up then.
    QObject::connect(player_.get(), &QSoundEffect::statusChanged, player_.get(),
                     [this, player = player_.get(), shown = *path] {
                         if (player->status() == QSoundEffect::Error)
                             log_.warning("Sound", "cannot play " + shown.toStdString());
                     });
    player_->setSource(QUrl(QStringLiteral("qrc") + *path));
    player_->play();
    return true;
}

bool QtSound::prepareClicks(std::string_view resourceName) {
    std::lock_guard lock(prepareMutex_);
    if (clickMixer_)
        return clickName_ == resourceName;
    const auto path = resourcePath(resourceName);
    QFile file(path.value_or(QString()));
    if (!path || !file.open(QIODevice::ReadOnly)) {
        log_.warning("Sound", "no sound named " + std::string(resourceName));
        return false;
    }
    const QByteArray bytes = file.readAll();
    auto clip = parsePcm16Wav(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!clip) {
        log_.warning("Sound", "cannot click " + std::string(resourceName) + ": " + clip.error().message);
        return false;
    }
    const char* audio = std::getenv("QUORVANE_AUDIO");
    const bool silent = audio && std::string_view(audio) == "silent";
    clickName_ = resourceName;
    clickMixer_ = std::make_unique<ClickMixer>(std::move(clip.value()), log_,
                                               ClickMixer::Options{.silent = silent});
    clicks_.store(clickMixer_.get(), std::memory_order_release);
    return true;
}

bool QtSound::play(std::string_view resourceName, Variation variation) {
    ClickMixer* mixer = clicks_.load(std::memory_order_acquire);
    return mixer && clickName_ == resourceName && mixer->push(variation);
}

}  // namespace quorvane::platform::qt
