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
    player_->setSource(QUrl(QStringLiteral("qrc") + path));
    if (player_->status() == QSoundEffect::Error)
        log_.warning("Sound", "cannot play " + path.toStdString());
    player_->play();
    return true;
}

}  // namespace quorvane::platform::qt
