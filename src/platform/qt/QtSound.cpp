#include "platform/qt/QtSound.hpp"

#include <QFile>
#include <QUrl>

namespace quorvane::platform::qt {

bool QtSound::play(std::string_view resourceName) {
    const QString path = QStringLiteral(":/sounds/%1.wav")
                             .arg(QString::fromUtf8(resourceName.data(),
                                                    static_cast<qsizetype>(resourceName.size())));
    if (!QFile::exists(path))
        return false;
    player_ = std::make_unique<QSoundEffect>();
    // Loading finishes later; a file the audio system cannot take shows up then.
    QObject::connect(player_.get(), &QSoundEffect::statusChanged, player_.get(),
                     [this, player = player_.get(), path] {
                         if (player->status() == QSoundEffect::Error)
                             log_.warning("Sound", "cannot play " + path.toStdString());
                     });
    player_->setSource(QUrl(QStringLiteral("qrc") + path));
    player_->play();
    return true;
}

}  // namespace quorvane::platform::qt
