#include "ui/EmojiImages.hpp"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QSaveFile>

namespace quorvane::ui {

namespace {

QString& cacheFolder() {
    static QString folder;
    return folder;
}

// The file name says exactly what is drawn: code points and pixel size, and
// nothing from the text can reach the path but hex digits.
QString key(const QString& emoji, int pixels) {
    QStringList points;
    for (char32_t point : emoji.toUcs4())
        points << QString::number(point, 16);
    // "c": drawn with the colour emoji font (older images used text fonts).
    return QStringLiteral("c-") + points.join('-') + QStringLiteral("@%1.png").arg(pixels);
}

// A lone symbol that text fonts also have (⚓, ↔, ⌨) asks for its emoji
// presentation, or a text font's monochrome glyph would be chosen.
QString withEmojiPresentation(const QString& emoji) {
    const auto points = emoji.toUcs4();
    if (points.size() == 1 && points.front() < 0x1F000)
        return emoji + QChar(0xFE0F);
    return emoji;
}

QPixmap draw(const QString& emoji, int pixels) {
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The colour emoji font first, the application's for anything it lacks.
    QFont font = QGuiApplication::font();
    font.setFamilies({QStringLiteral("Noto Color Emoji"), QGuiApplication::font().family()});
    font.setPixelSize(pixels * 3 / 4);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, withEmojiPresentation(emoji));
    return pixmap;
}

}  // namespace

void EmojiImages::setCacheFolder(const QString& folder) {
    cacheFolder() = folder;
}

QPixmap EmojiImages::image(const QString& emoji, int size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int pixels = qRound(size * ratio);
    const QString name = key(emoji, pixels);
    QPixmap pixmap;
    if (QPixmapCache::find(name, &pixmap))
        return pixmap;
    const QString file = cacheFolder().isEmpty() ? QString() : cacheFolder() + '/' + name;
    if (file.isEmpty() || !pixmap.load(file, "PNG") || pixmap.width() != pixels) {
        pixmap = draw(emoji, pixels);
        if (!file.isEmpty() && QDir().mkpath(cacheFolder())) {
            QSaveFile out(file);
            if (out.open(QIODevice::WriteOnly) && pixmap.save(&out, "PNG"))
                out.commit();
        }
    }
    pixmap.setDevicePixelRatio(ratio);
    QPixmapCache::insert(name, pixmap);
    return pixmap;
}

}  // namespace quorvane::ui
