#include "platform/qt/QtSound.hpp"

#include <QFile>
#include <QUrl>

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

}  // namespace quorvane::platform::qt
